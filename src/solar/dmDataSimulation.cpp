#include "shell/dmData.h"
#include "shell/unRoutine.h"
#include "solar/dmDataPVSiteLoad.h"
#include "solar/unListPVSite.h"
#include "solar/unSunTrack.h"

#include <cmath>
#include <stdexcept>
#include <vector>

namespace {

constexpr double kMinutesPerDay = 1440.0;
// Day runs: one sample every 5 minutes from 05:00 to 22:00 local time.
constexpr int kDayFirstMinute = 5 * 60;
constexpr int kDayStepMinutes = 5;
constexpr int kDaySamples = (22 * 60 - kDayFirstMinute) / kDayStepMinutes + 1;
constexpr double kEnergyPerDaySample = kDayStepMinutes / kMinutesPerDay * 24.0 / 1000.0;
// Month and year runs: the 10-minute samples of the site models' days.
constexpr double kEnergyPerSiteSample = 10.0 / kMinutesPerDay * 24.0 / 1000.0;

TDateTime IncMinute(TDateTime t, double minutes) { return t + minutes / kMinutesPerDay; }

// One installation of the simulated group, as the snapshot of the installation table
// gave it, with its site model.
struct TGroupMember {
  int CalSolID = 0;
  TPVSite *Site = nullptr;
};

// Sums of one day or one sample over the group.
struct TGroupSums {
  double Irradiance = 0;
  double Puissance = 0;
  double Energie = 0;
  double TempCoeff = 0;
  double Surplus = 0;
};

void AppendResult(TClientDataSet &aTable, TDateTime aDate, const TGroupSums &aSums, double aFond)
{
  aTable.Append();
  aTable.FieldByName(QStringLiteral("Date")).SetAsDateTime(aDate);
  aTable.FieldByName(QStringLiteral("Irradiance")).SetAsFloat(aSums.Irradiance);
  aTable.FieldByName(QStringLiteral("Puissance AC")).SetAsFloat(aSums.Puissance);
  aTable.FieldByName(QStringLiteral("Energie")).SetAsFloat(aSums.Energie);
  aTable.FieldByName(QStringLiteral("Temp Coeff")).SetAsFloat(aSums.TempCoeff);
  aTable.FieldByName(QStringLiteral("Puissance Fond")).SetAsFloat(aFond);
  aTable.FieldByName(QStringLiteral("Surplus")).SetAsFloat(aSums.Surplus);
  aTable.Post();
}

}  // namespace

void TdtmData::FillAnalyticIrradiance(int aAngstrom, double aRendementOnduleur, double aTemp,
                                      TDateTime aDate, TDateTime aMaskMatin, TDateTime aMaskSoir,
                                      TTimeInterval aTime, bool aUsePMax, double &aSurplus,
                                      double &aTimeProd)
{
  aSurplus = 0;
  aTimeProd = 0;
  cdsOnduleurAnalytic->EmptyDataSet();

  // The group, read from a snapshot of the installation table in its order: the
  // installations of the current site when the single-site view is on, else the current
  // installation alone.
  if (!ListPVSite())
    SetListPVSite(std::make_unique<TListPVSite>());
  auto *sites = dynamic_cast<TListPVSite *>(ListPVSite());
  if (!sites)
    throw std::logic_error("the site models are not a TListPVSite");
  std::vector<TGroupMember> group;
  double fond = 0;
  if (cdsData->Active() && !cdsData->IsEmpty()) {
    const int currentID = cdsData->FieldByName(QStringLiteral("ID")).AsInteger();
    const int currentSite = cdsData->FieldByName(QStringLiteral("IDSite")).AsInteger();
    const bool wholeSite = cdsData->Filtered();
    for (int row = 0; row < cdsData->RecordCount(); ++row) {
      auto value = [&](const QString &field) { return cdsData->ValueAt(row, cdsData->FieldIndex(field)); };
      const int id = value(QStringLiteral("ID")).toInt();
      if (value(QStringLiteral("IDSite")).toInt() != currentSite || (!wholeSite && id != currentID))
        continue;
      TPVSite *site = sites->FindSite(id);
      if (!site) {
        // A model the list has not got yet is made from the record now.
        site = &sites->Add(std::make_unique<TPVSite>(id));
        LoadPVSiteFromRecord(*site, value, *cdsModule, *cdsCalSolClim);
      }
      group.push_back({value(QStringLiteral("CalSolID")).toInt(), site});
      fond = value(QStringLiteral("Puissance_Fond")).toDouble();
    }
  }

  const int offset = GetTimeZoneOffset(aDate);
  const TDateTime maskMatin = aMaskMatin != 0 ? IncMinute(aMaskMatin, -offset) : 0;
  const TDateTime maskSoir = aMaskSoir != 0 ? IncMinute(aMaskSoir, -offset) : 0;
  double totalPuissance = 0;
  for (const TGroupMember &member : group)
    totalPuissance += member.Site->Puissance();
  const double acMax = group.empty() ? 0 : GetPOnduleurACMax();
  for (const TGroupMember &member : group) {
    TPVSite &site = *member.Site;
    site.SetAngstrom(AngstromFromIndex(aAngstrom));
    site.SetRendementOnduleur(aRendementOnduleur);
    site.SetPuissanceOnduleurACMax(acMax);
    site.SetUsePOnduleurACMax(aUsePMax);
    site.SetRatioPuissance(totalPuissance);
    site.SetMaskMatin(maskMatin);
    site.SetMaskSoir(maskSoir);
    if (aTime == TTimeInterval::tiDay) {
      site.SetMeanTemp(aTemp);
      site.SetHR(GetClimateHR(member.CalSolID, aDate) / 100.0);
    } else {
      site.SetUseArrayTemp(true);
      site.SetUseArrayHR(true);
    }
  }

  if (aTime == TTimeInterval::tiDay) {
    // Each site follows its Sun along the day's 5-minute samples.
    const TSeriesStep step(kDayStepMinutes / kMinutesPerDay);
    std::vector<TSunTrack> tracks;
    tracks.reserve(group.size());
    for (const TGroupMember &member : group)
      tracks.emplace_back(member.Site->Position().Latitude, member.Site->Position().Longitude, step);

    const TDateTime day = DateOf(aDate);
    double energy = 0, surplus = 0;
    bool producing = false, ended = false;
    TDateTime first = 0, last = 0;
    for (int sample = 0; sample < kDaySamples; ++sample) {
      const TDateTime t = IncMinute(day, kDayFirstMinute + sample * kDayStepMinutes);
      const TDateTime sunTime = IncMinute(t, -offset);
      TGroupSums sums;
      for (std::size_t i = 0; i < group.size(); ++i) {
        TPVSite &site = *group[i].Site;
        if (sample == 0)
          tracks[i].Start(sunTime);
        else
          tracks[i].Next(sunTime);
        double irradiance = 0, puissance = 0, tempCoeff = 0;
        site.GetDataForATime(tracks[i], sunTime, irradiance, puissance, tempCoeff);
        sums.Irradiance += irradiance * site.RatioPuissance();
        sums.Puissance += puissance;
        sums.TempCoeff += tempCoeff * site.RatioPuissance();
      }
      energy += sums.Puissance * kEnergyPerDaySample;
      if (sums.Puissance > fond)
        surplus += (sums.Puissance - fond) * kEnergyPerDaySample;
      sums.Energie = energy;
      sums.Surplus = surplus;
      AppendResult(*cdsOnduleurAnalytic, t, sums, fond);

      // Production runs from the first sample with power to the next one without; a
      // power that never falls back ends the production at the last sample.
      if (!producing && !ended && sums.Puissance != 0) {
        producing = true;
        first = t;
      } else if (producing && sums.Puissance == 0) {
        producing = false;
        ended = true;
        last = t;
      }
      if (producing)
        last = t;
    }
    aSurplus = surplus;
    aTimeProd = std::abs(last - first) * 24.0;
    return;
  }

  const TDateParts date = DecodeDate(aDate);
  const TDateTime firstDay =
      aTime == TTimeInterval::tiMonth ? EncodeDate(date.Year, date.Month, 1) : EncodeDate(date.Year, 1, 1);
  const TDateTime lastDay = aTime == TTimeInterval::tiMonth
                                ? EncodeDate(date.Year, date.Month, DaysInAMonth(date.Year, date.Month))
                                : EncodeDate(date.Year, 12, 31);
  for (TDateTime day = firstDay; day <= lastDay; day += 1) {
    TGroupSums sums;
    int samples = 0;
    double hours = 0;
    for (const TGroupMember &member : group) {
      TPVSite &site = *member.Site;
      double irradiance = 0, puissance = 0, tempCoeff = 0, energy = 0, surplus = 0;
      samples = site.GetDataForADay(day, fond, irradiance, puissance, tempCoeff, energy, surplus, hours);
      sums.Irradiance += irradiance * site.RatioPuissance();
      sums.Puissance += puissance;
      sums.TempCoeff += tempCoeff * site.RatioPuissance();
      sums.Energie += energy;
      sums.Surplus += surplus;
    }
    if (group.size() > 1) {
      // Installations share one background consumption: the surplus is that of their
      // summed curve.
      sums.Surplus = 0;
      for (int i = 0; i < samples; ++i) {
        double puissance = 0;
        for (const TGroupMember &member : group)
          puissance += member.Site->DataPowerOfTheDay[static_cast<std::size_t>(i)];
        if (puissance > fond)
          sums.Surplus += (puissance - fond) * kEnergyPerSiteSample;
      }
    }
    AppendResult(*cdsOnduleurAnalytic, day, sums, fond);
    aSurplus += sums.Surplus;
    aTimeProd += hours;
  }
}
