#pragma once
// The site models of the installation database, one per installation, owned by the list
// and kept in step with the installation table (loaded on open, reloaded on every post).

#include "shell/dmData.h"
#include "solar/unPVSite.h"

#include <memory>
#include <vector>

class TListPVSite : public ISiteModelList {
public:
  TPVSite &Add(std::unique_ptr<TPVSite> aSite);
  // The first site of installation aID, or nullptr.
  TPVSite *FindSite(int aID) const;
  int Count() const { return static_cast<int>(FItems.size()); }
  TPVSite &Items(int aIndex) const { return *FItems.at(static_cast<std::size_t>(aIndex)); }

  // Finds (or creates and appends) the site of installation aID and loads it from the
  // current installation record.
  void LoadSite(int aID, TdtmData &aData) override;

private:
  std::vector<std::unique_ptr<TPVSite>> FItems;
};
