// The Smooth renderer's spans are the program's one bilinear sampler,
// core/image/bilinear_span.h; this name stays for the code that knows it so.
#pragma once

#include "core/image/bilinear_span.h"
