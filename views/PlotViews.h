#pragma once

// The depth plots of a survey: the three of every survey and the quality plot.
#include "views/CAzView.h"
#include "views/CInclView.h"
#include "views/CMagView.h"
#include "views/CQcView.h"
