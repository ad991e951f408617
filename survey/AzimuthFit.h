#pragma once

namespace survey {

class CKestrixDoc;

// A least-squares polynomial held as orthogonal polynomials: value(X) =
// b[0] + sum over j of b[j] p_j(X), with p_0 = 1, p_1 = X - alpha[1] and
// p_j = (X - alpha[j]) p_{j-1} - beta[j] p_{j-2}. Evaluating it this way
// stays accurate at scaled depths of 10^5, where the power series cancels.
struct OrthogonalFit {
    int nTerms = 0; // degree fitted + 1; 0 for no fit
    double b[5] = {};
    double alpha[5] = {};
    double beta[5] = {};

    double Evaluate(double X) const;
};

// The depths, in metres, of the shallowest and the deepest control point a fit
// went through: under the local fit it replaces the measured azimuth only
// there, the ends included.
struct FitSpan {
    double top = 0.0;
    double bottom = 0.0;
};

// Unweighted least-squares polynomial with `m` coefficients (degree at most
// m - 1, and at most n - 1) through the `n` points (x, y), by Forsythe's
// three-term recurrence. Writes the power-series coefficients c[0] (constant)
// to c[m - 1], higher ones 0; leaves c as it was when n < 1 or m < 1. When
// `fit` is given it receives the same polynomial in orthogonal form.
void PolyFit(int m, const double* x, const double* y, int n, double* c, OrthogonalFit* fit = nullptr);

// Fits the polynomial through the document's control points with its current
// degree (m_nCoef, m_dCoef, m_fit, m_fitSpan), then puts it in force as
// ApplyFitInForce does. Without control points no fit is in force (m_nCoef 0)
// and AzUsed stays the measured azimuth.
void FitAzimuth(CKestrixDoc& doc);

// The fit of FitAzimuth alone (m_nCoef, m_dCoef, m_fit, m_fitSpan), not put in force.
void FitThroughControlPoints(CKestrixDoc& doc);

// Replaces AzUsed by the fit in force, as it was made (under m_bFitLocal only
// within m_fitSpan); does nothing while m_nCoef is 0.
void ApplyFitInForce(CKestrixDoc& doc);

} // namespace survey
