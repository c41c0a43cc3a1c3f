#include "model/process_state.h"

namespace kvswx {

ProcessState& Process() {
    static ProcessState state;
    return state;
}

void ResetProcessStateForTests() { Process() = ProcessState{}; }

}  // namespace kvswx
