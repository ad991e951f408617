#pragma once

// The three depth plots of a survey.
#include "CAzView.h"
#include "CInclView.h"
#include "CMagView.h"
