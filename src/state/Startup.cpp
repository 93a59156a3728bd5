#include "state/Startup.h"

#include "text/NumberText.h"

namespace selvo {

void SetItemConstants(ProgramState& state) {
    state.ItemCount = 94;
    state.FirstItem = 1;
    state.ScalePoints = 7;
    state.DistressPoints = 3;
}

void SetProgramConstants(ProgramState& state) {
    state.ProgramTitle = std::string(kProductName) + " (V." + numberText(kProgramVersion) + ")";
    SetItemConstants(state);
}

} // namespace selvo
