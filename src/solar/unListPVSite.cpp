#include "solar/unListPVSite.h"

TPVSite &TListPVSite::Add(std::unique_ptr<TPVSite> aSite)
{
  FItems.push_back(std::move(aSite));
  return *FItems.back();
}

TPVSite *TListPVSite::FindSite(int aID) const
{
  for (const auto &site : FItems)
    if (site->ID() == aID)
      return site.get();
  return nullptr;
}

void TListPVSite::LoadSite(int aID, TdtmData &aData)
{
  TPVSite *site = FindSite(aID);
  if (!site)
    site = &Add(std::make_unique<TPVSite>(aID));
  aData.LoadPVSite(*site);
}
