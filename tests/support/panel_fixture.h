#pragma once

#include <string>
#include <vector>

#include "framework/operator_message.h"
#include "support/test_fixture.h"

struct ShownMessage {
    std::string text;
    std::string caption;
    bool operator==(const ShownMessage&) const = default;
};

// A widget test: the recorder link and the virtual clock, and a recorder of the message boxes
// the panel would show, so that no modal box ever blocks a test.
class PanelFixture : public InstrumentTest {
protected:
    void SetUp() override;
    void TearDown() override;

    std::vector<ShownMessage> messages;

private:
    valdrix::gui::MessageBoxHandler m_previousHandler;
};
