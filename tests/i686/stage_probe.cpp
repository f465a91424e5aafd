// A DLL for the i686 stage's runtime check: its static object and atexit
// function report to the program that loaded it, so the check sees that they
// ran at load and at unload, and in which order.
#include <cstdlib>

namespace {

int* Report = nullptr;

void AtUnload() {
  if (Report != nullptr) {
    *Report = *Report * 10 + 2;  // first: the state is still 0
  }
}

struct Resident {
  Resident() { Constructed = 1; }
  ~Resident() {
    if (Report != nullptr) {
      *Report = *Report * 10 + 1;  // second
    }
  }
  int Constructed = 0;
};
Resident Object;

}  // namespace

extern "C" __declspec(dllexport) int ProbeWatch(int* state) {
  Report = state;
  std::atexit(&AtUnload);
  return Object.Constructed;
}
