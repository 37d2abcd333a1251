#pragma once
// The check of the bar's stored place against the machine's monitors when the bar starts.

#include <QRect>

#include <cstdint>

// Called once per monitor: counts it, remembers the last one that starts at x >= 0, and marks the
// bar off screen when its left edge lies outside a monitor at the left or right of the origin.
// Returns true so that every monitor is visited.
bool MonitorEnumProc(std::int32_t hMonitor, const QRect& monitorRect);

// Runs the enumeration over the machine's monitors, reports a bar outside them, and captions the
// tray menu's Show item after the monitor layout.
void CheckBarMonitors();
