#pragma once

// The three depth plots of a survey.
#include "views/CAzView.h"
#include "views/CInclView.h"
#include "views/CMagView.h"
