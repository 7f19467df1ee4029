#pragma once
// How many times the test program has taken memory from operator new: the replacement is in
// allocation_count.cpp, which a test links to count what a path allocates.

long AllocationCount();
