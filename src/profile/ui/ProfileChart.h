// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once
// The profile chart: one bar per disorder, its height the dimensional percentage, with a mark
// above each disorder diagnosed under either threshold.
#include "profile/Profile.h"

#include <QByteArray>
#include <QSize>

class QWidget;

// A new chart of the profile, owned by `parent`: a QCustomPlot, which only this file and the
// tests need to know.
QWidget* CreateProfileChart(const selvo::Profile& profile, QWidget* parent);

// The chart as a saved file draws it: at this size, whatever its size on screen.
inline constexpr QSize kChartImageSize{1200, 720};

enum class ChartFormat { Png, Pdf };

// The file's bytes, or empty when the picture could not be made.
QByteArray ChartFileBytes(QWidget& chart, ChartFormat format);
