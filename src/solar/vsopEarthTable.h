#pragma once
// The VSOP87 version D series of the Earth (heliocentric spherical coordinates, mean
// ecliptic and equinox of the date), abridged to the terms of Meeus's Earth tables.
// The table is compiled from data/vsop87d_earth_abridged.csv at build time.

// One periodic term A·cos(B + C·τ): A in 1e-8 rad (L, B) or 1e-8 AU (R), B in radians,
// C in radians per Julian millennium.
struct TVSOPTerm {
  double A;
  double B;
  double C;
};

enum class TVSOPCoordinate { Longitude = 0, Latitude = 1, Radius = 2 };

// The terms of one coordinate and one power of τ: VSOPEarthTerms()[First .. First+Count).
struct TVSOPSeriesRange {
  int First;
  int Count;
};

// The number of terms of the abridged table (the build checks it against the data).
inline constexpr int VSOPEarthTermTotal = 199;

// Every term, grouped L0..L5, B0..B5, R0..R5.
const TVSOPTerm *VSOPEarthTerms();
// power 0..5; a series with no term has Count 0.
TVSOPSeriesRange VSOPEarthSeries(TVSOPCoordinate coordinate, int power);
