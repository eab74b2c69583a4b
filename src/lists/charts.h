#pragma once

// The head-count chart windows, opened from the statistics menu and the list windows.
enum class Chart { Part, Bigo, Duty, Gita, Stat, Area };

// Creates the chart window, shows it modally and frees it.
void ShowChart(Chart which);
