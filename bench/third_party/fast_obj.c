/* The implementation of the vendored OBJ parser (fast_obj.h, MIT licence, the
 * licence text at the top of that file), built once for the load benchmark. */
#define FAST_OBJ_IMPLEMENTATION
#include "fast_obj.h"
