// SPDX-FileCopyrightText: 2026 The Velmora developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

// Explore on the desktop: the panel's key and menu entry, the values it opens at, and what
// Start runs while it is open.
#include "frm_velmora.h"

#include "core_text.h"
#include "explore.h"
#include "explore_panel.h"

#include <QAction>
#include <QPushButton>

using namespace Qt::StringLiterals;

namespace {

// The values a run of the presets has; those of the default presets should the texts be none.
velmora::ExploreValues presetValues(const velmora::ParameterStore& store) {
    try {
        return velmora::explore::valuesOf(
            velmora::runParametersFor(store, velmora::qt::decimalPoint()));
    } catch (const velmora::RunTimeError&) {
        return velmora::explore::valuesOf(
            velmora::presetParameters(velmora::frequencyPresets[2], velmora::distancePresets[1]));
    }
}

} // namespace

void frmVelmora::createExploreAction() {
    m_exploreAction = new QAction(u"Explore..."_s, this);
    m_exploreAction->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_E));
    connect(m_exploreAction, &QAction::triggered, this, &frmVelmora::toggleExplore);
    addAction(m_exploreAction);
    m_menu << nullptr << m_exploreAction;
}

void frmVelmora::toggleExplore() {
    if (exploring())
        m_explore->reject();
    else
        openExplore();
}

void frmVelmora::openExplore() {
    if (!m_explore) {
        m_explore = new ExplorePanel(this);
        connect(m_explore, &ExplorePanel::startPressed, cmdStart, &QPushButton::click);
    }
    m_explore->openAt(presetValues(parameterStore()));
}

bool frmVelmora::exploring() const {
    return m_explore && m_explore->isVisible();
}

void frmVelmora::exploreTakesPreset(const std::string& box) {
    const velmora::ExploreValues values = presetValues(parameterStore());
    const velmora::Quantity quantity =
        box == "nFi" ? velmora::Quantity::Wavelength : velmora::Quantity::DetectorDistance;
    if (box == "nFi" || box == "nRozteč")
        m_explore->setValue(quantity, velmora::explore::valueOf(values, quantity));
}

velmora::ExploreSettings frmVelmora::exploreSettings() const {
    return exploring() ? m_explore->settings() : velmora::ExploreSettings{};
}
