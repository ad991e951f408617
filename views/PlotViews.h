#pragma once

// The plots of a survey: the three depth plots of every survey, the quality
// plot, and the plan and section of the hole's path.
#include "views/CAzView.h"
#include "views/CInclView.h"
#include "views/CMagView.h"
#include "views/CPlanView.h"
#include "views/CQcView.h"
#include "views/CSectionView.h"
