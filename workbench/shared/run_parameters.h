// The run-parameter file "espar.txt": the run parameters kept from one start to the next.
#pragma once

#include <optional>
#include <string>

namespace tarnix {

struct RunParameters {
    std::string kb;      // line 2
    std::string task;    // line 3
    std::string depth;   // line 6
    std::string length;  // line 7
};

// Reads WorkDir + "espar.txt" when it exists; missing lines read as empty texts.
std::optional<RunParameters> ReadRunParameters();

}  // namespace tarnix
