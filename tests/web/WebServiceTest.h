#pragma once
// A test with the local substitute services running: HTTPS (PVGIS, geocoding) with a
// certificate made for the run and trusted through the settings file, plain HTTP (BDPV).
// The settings file's [Services] section points every client at them.

#include "SubstituteService.h"
#include "support/TempDir.h"
#include "TestCertificate.h"

#include <gtest/gtest.h>

class WebServiceTest : public ::testing::Test {
protected:
  // Short enough that the time-out cases stay quick, long enough for a loaded machine.
  static constexpr int kTestTimeout = 1500;

  void SetUp() override;
  void TearDown() override;

  // The certificate the HTTPS substitute presents (made once per run).
  static const TTestCertificate &Certificate();
  // Target paths received by the HTTPS substitute, without the query.
  QStringList ReceivedPaths() const;

  TempDir temp;
  TSubstituteService https{TSubstituteService::TScheme::Https};
  TSubstituteService http{TSubstituteService::TScheme::Http};
};
