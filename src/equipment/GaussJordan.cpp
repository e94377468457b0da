#include "equipment/GaussJordan.h"

#include "equipment/FloatChecks.h"

#include <algorithm>
#include <cmath>
#include <utility>

namespace {

constexpr double DeterminantLimit = 1e30;

void SwapRows(TSolverMatrix &A, int n, int r1, int r2)
{
  for (int c = 1; c <= n + 1; ++c)
    std::swap(A(r1, c), A(r2, c));
}

void SwapColumns(TSolverMatrix &A, int n, int c1, int c2)
{
  for (int r = 1; r <= n; ++r)
    std::swap(A(r, c1), A(r, c2));
}

}  // namespace

bool GaussJordan(TSolverMatrix &A, int n, double &aDeterminant)
{
  std::array<int, TSolverMatrix::MaxEquations + 1> pivotRow{};
  std::array<int, TSolverMatrix::MaxEquations + 1> pivotColumn{};
  // The determinant only tells a singular system; it is kept within the limit as it
  // grows so that large pivots cannot overflow it.
  double det = 1.0;
  bool singular = false;
  int k = 0;
  while (!singular && k < n) {
    ++k;
    int pr = k;
    int pc = k;
    double pivot = A(k, k);
    for (int r = k; r <= n; ++r)
      for (int c = k; c <= n; ++c)
        if (std::fabs(A(r, c)) > std::fabs(pivot)) {
          pivot = A(r, c);
          pr = r;
          pc = c;
        }
    pivotRow[k] = pr;
    pivotColumn[k] = pc;
    FloatCheck::Finite(pivot);
    det = std::clamp(det * pivot, -DeterminantLimit, DeterminantLimit);
    if (pivot == 0.0) {
      singular = true;
      det = 0.0;
      break;
    }
    if (pr > k) {
      SwapRows(A, n, k, pr);
      det = -det;
    }
    if (pc > k) {
      SwapColumns(A, n, k, pc);
      det = -det;
    }
    for (int j = 1; j <= n; ++j) {
      if (j == k)
        continue;
      const double f = -A(j, k) / pivot;
      A(j, k) = f;
      for (int c = 1; c <= n + 1; ++c)
        if (c != k)
          A(j, c) = FloatCheck::Finite(A(j, c) + f * A(k, c));
    }
    for (int c = 1; c <= n + 1; ++c)
      if (c != k)
        A(k, c) = FloatCheck::Finite(A(k, c) / pivot);
    A(k, k) = FloatCheck::Finite(1.0 / pivot);
  }
  for (int step = k - 1; step >= 1; --step) {
    if (pivotColumn[step] > step)
      SwapRows(A, n, step, pivotColumn[step]);
    if (pivotRow[step] > step)
      SwapColumns(A, n, step, pivotRow[step]);
  }
  aDeterminant = det;
  return !singular;
}
