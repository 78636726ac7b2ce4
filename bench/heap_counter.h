// The program's heap allocations, counted by the replacements of the global operator new that
// heap_counter.cpp puts into the program it is linked into. They see every allocation through
// operator new in the process: the plugin's code, the host binding and the simulated server's
// (the simulated FMemory keeps a table entry for each block it hands out, so each FMemory
// allocation is also one heap allocation here). malloc itself is not counted.
#pragma once

#include <cstdint>

namespace bench {

std::uint64_t HeapAllocations();

}  // namespace bench
