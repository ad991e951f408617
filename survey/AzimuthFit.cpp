#include "survey/AzimuthFit.h"

#include "survey/KestrixDoc.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace survey {

double OrthogonalFit::Evaluate(double X) const
{
    if (nTerms <= 0)
        return 0.0;
    double value = b[0];
    double previous = 0.0; // p_{j-2}
    double current = 1.0;  // p_{j-1}
    for (int j = 1; j < nTerms; ++j) {
        const double next = (X - alpha[j]) * current - beta[j] * previous;
        previous = current;
        current = next;
        value += b[j] * current;
    }
    return value;
}

void PolyFit(int m, const double* x, const double* y, int n, double* c, OrthogonalFit* fit)
{
    const int d = std::min(m - 1, n - 1);
    if (n < 1 || d < 0)
        return;
    std::fill(c, c + m, 0.0);

    double sumY = 0.0, sumY2 = 0.0, sumX = 0.0;
    for (int k = 0; k < n; ++k) {
        sumY += y[k];
        sumY2 += y[k] * y[k];
        sumX += x[k];
    }
    c[0] = sumY / n;
    OrthogonalFit orthogonal;
    orthogonal.nTerms = 1;
    orthogonal.b[0] = c[0];
    if (n == 1) {
        if (fit)
            *fit = orthogonal;
        return;
    }

    double R = std::fabs(sumY2 - sumY * sumY / n);
    double sigma = std::sqrt(R / (n - 1));

    std::vector<double> p(static_cast<std::size_t>(n), 1.0);
    std::vector<double> q(static_cast<std::size_t>(n), 0.0);
    std::vector<double> pc(static_cast<std::size_t>(d) + 2, 0.0);
    std::vector<double> qc(static_cast<std::size_t>(d) + 2, 0.0);
    std::vector<double> next(static_cast<std::size_t>(d) + 2, 0.0);
    pc[0] = 1.0;
    double N = n;
    double A = sumX;
    double beta = 0.0;

    for (int j = 1; j <= d; ++j) {
        if (!(sigma > 0))
            break;
        const double alpha = N != 0 ? A / N : 0.0;
        double S = 0.0, Y = 0.0;
        A = 0.0;
        for (int k = 0; k < n; ++k) {
            const double newP = (x[k] - alpha) * p[k] - beta * q[k];
            q[k] = p[k];
            p[k] = newP;
            S += newP * newP;
            A += x[k] * newP * newP;
            Y += y[k] * newP;
        }
        const double b = S != 0 ? Y / S : 0.0;
        R -= b * b * S;
        sigma = R / (n - 1) < 0 ? -1.0 : std::sqrt(R / (n - 1));

        // Power series of x p_old - alpha p_old - beta q_old.
        for (int i = 0; i <= j; ++i)
            next[i] = (i > 0 ? pc[i - 1] : 0.0) - alpha * pc[i] - beta * qc[i];
        for (int i = 0; i <= j; ++i)
            c[i] += b * next[i];
        qc.swap(pc);
        pc.swap(next);

        orthogonal.alpha[j] = alpha;
        orthogonal.beta[j] = beta;
        orthogonal.b[j] = b;
        orthogonal.nTerms = j + 1;

        beta = N != 0 ? S / N : 0.0;
        N = S;
    }
    if (fit)
        *fit = orthogonal;
}

void FitAzimuth(CKestrixDoc& doc)
{
    FitThroughControlPoints(doc);
    ApplyFitInForce(doc);
}

void FitThroughControlPoints(CKestrixDoc& doc)
{
    const int n = doc.m_nControlPoints;
    if (n == 0) {
        // The last point may have gone without a refit; its curve must not
        // stay in force once the azimuth is measured again.
        doc.m_nCoef = 0;
        return;
    }
    double x[CKestrixDoc::kMaxControlPoints];
    double y[CKestrixDoc::kMaxControlPoints];
    for (int i = 0; i < n; ++i) {
        x[i] = doc.m_ControlPoints[static_cast<std::size_t>(i)].x;
        y[i] = doc.m_ControlPoints[static_cast<std::size_t>(i)].y;
    }
    doc.m_nCoef = doc.m_nDegree + 1;
    PolyFit(doc.m_nCoef, x, y, n, doc.m_dCoef.data(), &doc.m_fit);
    // Depths compared in metres: x / m_dScale is the nearest double to the
    // point's depth in hundredths, as a depth read from the file is.
    const auto [shallowest, deepest] = std::minmax_element(x, x + n);
    doc.m_fitSpan = {*shallowest / doc.m_dScale, *deepest / doc.m_dScale};
}

void ApplyFitInForce(CKestrixDoc& doc)
{
    if (doc.m_nCoef == 0)
        return;
    const FitSpan span = doc.m_fitSpan;
    for (int i = 0; i < doc.m_nObs; ++i) {
        Observation& o = doc.m_pObs[i];
        if (!doc.m_bFitLocal || (o.Depth >= span.top && o.Depth <= span.bottom))
            o.AzUsed = doc.m_fit.Evaluate(doc.m_dScale * o.Depth) / doc.m_dScale;
    }
}

} // namespace survey
