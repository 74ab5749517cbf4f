#pragma once
// A form with one control of each kind, and handlers that log what ran.
#include <functional>
#include <string>
#include <vector>

#include "ui/model/Form.h"

namespace qttest {

struct SampleForm : ui::Form {
    explicit SampleForm(const std::string& name = "SampleForm") : ui::Form(name) {
        clientWidth = 300;
        clientHeight = 200;
        setCaption("Sample");
        CommandButton1.setGeometry(12, 6, 100, 30);
        TextBox1.setGeometry(12, 42, 120, 18);
        TextBox2.setGeometry(12, 66, 120, 18);
        Label1.setGeometry(140, 6, 100, 30);
        ListBox1.setGeometry(140, 42, 150, 60);
        Frame1.setGeometry(12, 110, 200, 80);
        CommandButton2.setContainer(&Frame1);
        CommandButton2.setGeometry(6, 12, 100, 30);
        CommandButton1.setTabIndex(0);
        TextBox1.setTabIndex(1);
        TextBox2.setTabIndex(2);
        ListBox1.setTabIndex(3);
        CommandButton2.setTabIndex(4);
    }

    ui::CommandButton CommandButton1{*this, "CommandButton1"};
    ui::TextBox TextBox1{*this, "TextBox1"};
    ui::TextBox TextBox2{*this, "TextBox2"};
    ui::Label Label1{*this, "Label1"};
    ui::ListBox ListBox1{*this, "ListBox1"};
    ui::Frame Frame1{*this, "Frame1"};
    ui::CommandButton CommandButton2{*this, "CommandButton2"};

    std::vector<std::string> log;
    int refuseCloses = 0;
    std::function<void()> onInitialize;

    void UserForm_Initialize() override {
        if (onInitialize) onInitialize();
    }
    void UserForm_QueryClose(int& cancel, ui::CloseMode mode) override {
        log.push_back(mode == ui::CloseMode::CloseBox ? "query-close box" : "query-close code");
        if (refuseCloses > 0) {
            --refuseCloses;
            cancel = 1;
        }
    }

    // Logs Change and AfterUpdate of a text box with its text.
    void logTextEvents(ui::TextBox& box) {
        box.onChange = [this, &box] { log.push_back("change " + box.text()); };
        box.onAfterUpdate = [this, &box] { log.push_back("after-update " + box.text()); };
    }
    // Logs mouse events and clicks of a control with button and shift.
    void logMouseEvents(ui::Control& control) {
        control.onMouseDown = [this](int button, int shift, double, double) {
            log.push_back("down " + std::to_string(button) + " " + std::to_string(shift));
        };
        control.onMouseUp = [this](int button, int shift, double, double) {
            log.push_back("up " + std::to_string(button) + " " + std::to_string(shift));
        };
        control.onClick = [this] { log.push_back("click"); };
    }
};

}  // namespace qttest
