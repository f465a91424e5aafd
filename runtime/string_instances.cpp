// std::string compiled for the i586. libstdc++ declares its basic_string<char>
// members extern and links the prebuilt ones, compiled for the Pentium Pro
// with CMOV; this explicit instantiation comes first on the link line, so the
// program uses these.
#include <string>

template class std::basic_string<char>;
