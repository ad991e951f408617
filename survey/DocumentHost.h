#pragma once

namespace survey {

// What a survey document asks of the program that shows it. The windowed
// program answers with its windows; without one, a document has no host.
class DocumentHost {
public:
    virtual ~DocumentHost() = default;
    // Every view of the document redraws from the document's current state.
    virtual void UpdateAllViews() = 0;
    // After a successful load: open the inclination, azimuth and magnetic
    // components windows, in that order, on the document.
    virtual void OpenPlotWindows() = 0;
};

} // namespace survey
