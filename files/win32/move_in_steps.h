// The replacing move for systems without MoveFileExA, reachable on its own
// so that tests can run it where MoveFileExA works.
#pragma once

#include <string>

// Moves from onto to with MoveFileA only: an existing destination is first
// parked under a free name beside it, put back when the move fails and
// deleted when it succeeds. The caller has refused read-only destinations.
bool MoveFileOverInSteps(const std::string& from, const std::string& to);
