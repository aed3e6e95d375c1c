#pragma once
// How long a folder read took and how much of it was spent waiting on the
// device, measured on the reading thread, for sizing the readers.

#include <chrono>

#include <sys/resource.h>

namespace readers {

// How long a folder read took, less the time the thread waited for a
// processor (a turn taken by other threads is neither the read's work nor a
// wait for the device), and how much of that the thread spent blocked in
// the device: the time it was off the processor, counted only when it gave
// the processor up itself. Their ratio is the read's own, whatever else
// runs beside it.
class ReadClock {
  public:
    ReadClock();
    void stop(double& spent, double& blocked) const;

  private:
    std::chrono::steady_clock::time_point start_;
    long long waited_;
    rusage usage_{};
};

}  // namespace readers
