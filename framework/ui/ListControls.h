#pragma once

// Makes the class registry build the list controls: "ListBox", "MultiListBox", "ComboBox" and
// "ComboEdit". The form layer calls it when it puts itself in place.

void qelInstallListControls();
