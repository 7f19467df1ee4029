#pragma once
// How many times the test program has taken memory from operator new or the script library:
// both are counted in allocation_count.cpp, which a test links to count what a path allocates.

long AllocationCount();
