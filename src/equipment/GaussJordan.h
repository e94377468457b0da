#pragma once
// Gauss–Jordan elimination with full pivoting on a system of up to five equations held
// in a 5 × 6 matrix whose rows and columns are numbered from 1; column n + 1 holds the
// right-hand side and receives the solution.

#include <array>

class TSolverMatrix {
public:
  static constexpr int MaxEquations = 5;

  double &operator()(int row, int column) { return FCells[row][column]; }
  double operator()(int row, int column) const { return FCells[row][column]; }
  void Clear() { FCells = {}; }

private:
  std::array<std::array<double, MaxEquations + 2>, MaxEquations + 1> FCells{};
};

// Solves the n equations in place. Returns false when a pivot is zero (singular
// system); aDeterminant receives the determinant limited to ±1e30. A step that meets
// a non-finite number raises EMathError.
bool GaussJordan(TSolverMatrix &A, int n, double &aDeterminant);
