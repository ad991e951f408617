#pragma once

#include "survey/DocumentHost.h"

// A document host that counts what the document asked of it.
class CountingHost : public survey::DocumentHost {
public:
    void UpdateAllViews() override { ++updates; }
    void OpenPlotWindows() override { ++plotWindows; }
    int updates = 0;
    int plotWindows = 0;
};
