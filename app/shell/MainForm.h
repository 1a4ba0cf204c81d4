#pragma once

// The almanac's main menu: the screen after the intro, and the one the menu bar's "MainHome"
// returns to. Its nine section buttons open the sections' home screens ("Agenda" the day view),
// "Sair" asks to quit, "AudioHelpButton" plays the screen's narration whatever the sound
// settings say; every other control is the menu bar's. Opening it ends any movie the previous
// screen left open. The history lists it as "Tela inicial do Velarim"; its help is the index.

#include "app/shell/BarraMenuForm.h"

class MainForm : public BarraMenuForm {
    VELARIM_CLASS(MainForm, BarraMenuForm)
public:
    void open(const qelValue& data) override;
    void handleControl(const qelValue& control) override;
    qelValue historyText() override;
    int32_t helpContext() override { return -1; }
};
