// SPDX-FileCopyrightText: 2026 The Velmora developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

// The Start action: scene, frequency lookup, detector scan and result labels, in that order,
// drawn straight onto the surface. A RunTimeError stops it where it is raised.
#pragma once

#include "drawing_surface.h"
#include "parameter_store.h"
#include "result_labels.h"
#include "run_report.h"

#include <QLocale>

namespace velmora {

// Returns what the run drew; a RunTimeError leaves no report.
RunReport runStartAction(const ParameterStore& store, DrawingSurface& surface, LabelBoard& labels,
                         const QLocale& locale = QLocale());

} // namespace velmora
