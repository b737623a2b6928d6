// The tiling library as the compiler's tiling pass uses it: the records and
// their build and free functions, the options, the rectangular and general
// tilings of domains and of affine functions, the change of basis and the
// printers.
#ifndef TARVEX_ZIL_H
#define TARVEX_ZIL_H

#include "ZIL_gen.h"
#include "ZIL_rect.h"
#include "linAlg.h"

#endif
