#include "support/panel_fixture.h"

using namespace valdrix::gui;

void PanelFixture::SetUp() {
    InstrumentTest::SetUp();
    m_previousHandler =
        InstallMessageBoxHandler([this](const std::string& text, const std::string& caption) {
            messages.push_back({text, caption});
        });
}

void PanelFixture::TearDown() {
    InstallMessageBoxHandler(std::move(m_previousHandler));
    InstrumentTest::TearDown();
}
