#pragma once
// Scoped helpers that restore a table's state on every way out of an operation.

#include "platform/ClientDataSet.h"

#include <exception>
#include <utility>

// Suspends view notifications for its lifetime; on the way out, resumes them
// completely unless they were already suspended on the way in.
class TControlsGuard {
public:
  explicit TControlsGuard(TClientDataSet &dataSet)
      : FDataSet(dataSet), FWasDisabled(dataSet.ControlsDisabled())
  {
    FDataSet.DisableControls();
  }
  ~TControlsGuard()
  {
    if (!FWasDisabled)
      while (FDataSet.ControlsDisabled())
        FDataSet.EnableControls();
  }
  TControlsGuard(const TControlsGuard &) = delete;
  TControlsGuard &operator=(const TControlsGuard &) = delete;

private:
  TClientDataSet &FDataSet;
  bool FWasDisabled;
};

// Resumes suspended view notifications completely for its lifetime (so that detail
// tables follow their master), and suspends them again as many times on the way out.
class TControlsResumed {
public:
  explicit TControlsResumed(TClientDataSet &dataSet) : FDataSet(dataSet)
  {
    while (FDataSet.ControlsDisabled()) {
      FDataSet.EnableControls();
      ++FCount;
    }
  }
  ~TControlsResumed()
  {
    for (int i = 0; i < FCount; ++i)
      FDataSet.DisableControls();
  }
  TControlsResumed(const TControlsResumed &) = delete;
  TControlsResumed &operator=(const TControlsResumed &) = delete;

private:
  TClientDataSet &FDataSet;
  int FCount = 0;
};

// Detaches an event handler for its lifetime and re-attaches it on the way out.
class TDetachedEvent {
public:
  explicit TDetachedEvent(TClientDataSet::TDataSetNotifyEvent &event)
      : FEvent(event), FSaved(std::exchange(event, {}))
  {
  }
  ~TDetachedEvent() { FEvent = std::move(FSaved); }
  TDetachedEvent(const TDetachedEvent &) = delete;
  TDetachedEvent &operator=(const TDetachedEvent &) = delete;

private:
  TClientDataSet::TDataSetNotifyEvent &FEvent;
  TClientDataSet::TDataSetNotifyEvent FSaved;
};

// Goes back to the remembered row on the way out, when asked to.
class TKeepRecord {
public:
  TKeepRecord(TClientDataSet &dataSet, bool keep) : FDataSet(dataSet), FKeep(keep && dataSet.Active())
  {
    if (FKeep)
      FMark = FDataSet.GetBookmark();
  }
  ~TKeepRecord()
  {
    // A destructor must not throw: a row that cannot be reached again stays where it is.
    try {
      if (FKeep && !FMark.IsNull() && FDataSet.Active() && FDataSet.BookmarkValid(FMark))
        FDataSet.GotoBookmark(FMark);
    } catch (const std::exception &) {
    }
    FDataSet.FreeBookmark(FMark);
  }
  TKeepRecord(const TKeepRecord &) = delete;
  TKeepRecord &operator=(const TKeepRecord &) = delete;

private:
  TClientDataSet &FDataSet;
  bool FKeep;
  TBookmark FMark;
};
