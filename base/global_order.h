// The global objects are built in one order for the whole program (the list
// in app/globals.h), though each layer defines its own in its globals.cpp:
// every definition carries its place in that order, the objects are built by
// place before any other static object of the program, and destroyed in the
// reverse order after main returns. Place (group, n): the group number of the
// list and the object's position in its group.
#pragma once

#define TOVARO_GLOBAL_PLACE(group, n) __attribute__((init_priority(1000 + (group) * 100 + (n))))
