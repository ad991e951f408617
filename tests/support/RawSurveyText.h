#pragma once

#include <QByteArray>
#include <cmath>

// Text of a raw survey file: the collar, the header and `rows` observations
// every `step` metres from `firstDepth`, CR LF line ends; the readings turn
// with depth.
inline QByteArray RawSurveyText(int rows, double firstDepth = 0.0, double step = 0.5)
{
    QByteArray text = "Collar coordinates:\r\n"
                      "Easting    512430.00\r\n"
                      "Northing  7034815.00\r\n"
                      "Height       286.00\r\n"
                      "Declination   12.50\r\n"
                      "     DEPTH       MagX       MagY       MagZ       AccX       AccY       AccZ\r\n";
    for (int i = 0; i < rows; ++i) {
        const double depth = firstDepth + i * step;
        const double roll = depth * 0.12;
        const double values[7] = {depth,
                                  0.2 * std::cos(roll) - 0.1 * std::sin(roll),
                                  0.2 * std::sin(roll) + 0.1 * std::cos(roll),
                                  0.45 + 0.01 * std::sin(depth / 5),
                                  1.5 * std::cos(roll),
                                  1.5 * std::sin(roll),
                                  9.6};
        for (int k = 0; k < 7; ++k)
            text += QByteArray::number(values[k], 'f', 5).rightJustified(10) + (k < 6 ? " " : "\r\n");
    }
    return text;
}
