#pragma once
#include "../support/feedback_capture.h"  // moved to support/: scene and bench tests still include it here
