// The state of the Caps, Num and Scroll Lock keys, for the status bar.
#pragma once

namespace lockkeys {

struct State {
    bool caps = false;
    bool num = false;
    bool scroll = false;
};

// Read from the windowing system where it tells; all off where it does not.
State state();

}  // namespace lockkeys
