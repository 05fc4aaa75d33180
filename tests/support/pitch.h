#pragma once
// The pitch meter lives with the tools (the build checks the generated samples with it).
#include "pitch/pitch.h"
