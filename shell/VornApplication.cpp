#include "VornApplication.h"

// Nothing of its own yet: the class is the program's one application type,
// shared by the program and its window tests.
