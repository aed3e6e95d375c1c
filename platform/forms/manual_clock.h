#pragma once
// Drives a form's timers in tests: advanceTimers() ticks every enabled timer
// whose interval has passed, as real time would.

#include "platform/forms/basic_controls.h"
#include "platform/forms/form.h"

namespace forms {

inline void advanceTimers(Form& form, int ms) {
    for (int step = 0; step < ms; ++step)
        for (Timer* t : form.timers()) {
            if (!t->timerEnabled() || t->interval() <= 0) continue;
            if (++t->elapsed >= t->interval()) {
                t->elapsed = 0;
                t->tick();
            }
        }
}

}  // namespace forms
