// How a run of either direction ended when it did not stop on an error (a RunError is thrown then).
// The front ends turn it into their own ending: the command-line tool into its exit status.
#pragma once

namespace transzendal {

enum class RunOutcome {
  kCompleted,    // every step done; FinishRun was called
  kMissingFile,  // the chosen XML file does not exist; MissingFileEnd was called
};

}  // namespace transzendal
