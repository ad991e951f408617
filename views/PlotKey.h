#pragma once

#include <QColor>
#include <QCoreApplication>
#include <QString>

#include <vector>

// What a plot's picture names beside its own drawing: the axes' titles with
// their units and a legend of its curves (views/PlotAnnotations.h draws it).
struct PlotKey {
    struct Entry {
        QString label;
        QColor colour;
    };
    QString depthTitle; // under the depth labels; empty where the view names its axes itself
    QString valueTitle; // under the view's title, above the value labels
    std::vector<Entry> legend;

    // The key of a depth plot: depth along the bottom, `valueTitle` up the side.
    static PlotKey DepthPlot(QString valueTitle, std::vector<Entry> legend)
    {
        return {QCoreApplication::translate("PlotKey", "Depth along the hole (m)"), std::move(valueTitle),
                std::move(legend)};
    }
};
