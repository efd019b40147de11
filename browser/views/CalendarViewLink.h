// ICalendarViewLink: what the browser base view asks of its month calendar view. The month
// view implements it; the base view finds it with a run-time cast, so a view without it
// (a stand-in while the calendars are not there) is simply not told.
#pragma once
#include <fw/fw.h>

class ICalendarViewLink {
 public:
  // bReset forgets the month shown (a new folder); bRedraw repaints at once.
  virtual void InitView(BOOL bReset, BOOL bRedraw) = 0;

 protected:
  ~ICalendarViewLink() {}
};

// The run-time class names the base view creates its calendar views by.
#define VXCLASS_MONTH_VIEW "CCalendarMonthView"
#define VXCLASS_DAY_VIEW "CCalendarDayView"
