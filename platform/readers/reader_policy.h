#pragma once
// How many threads read while they adapt: the share of their time folder
// reads spend blocked in the device, measured over a few reads at a time,
// sets the number of readers and whether the walk reads too.

namespace readers {

class ReaderPolicy {
  public:
    explicit ReaderPolicy(int processors = 1) : processors_(processors) {}

    // One folder read: its time and the part of it spent blocked. True when
    // the reads measured set the readers again.
    bool measure(double spent, double blocked);
    int readers() const { return readers_; }
    bool walkReads() const { return walkReads_; }

  private:
    int processors_;
    int readers_ = 1;
    bool walkReads_ = true;
    int measured_ = 0;  // folder reads since the readers were last set
    double spentSum_ = 0, blockedSum_ = 0;
};

}  // namespace readers
