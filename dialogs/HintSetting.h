#pragma once

// The data panel's hint switch ("Mostrar Sugestão") for every window that
// follows it: the main windows, the palette and the property and options
// dialogs. A window takes the switch's state when it is shown (the main
// windows whenever the switch moves), and its controls pop up their tooltips
// only while the state it took is on. Hints in a status line stay.
#include <initializer_list>

class QWidget;

// Whether the switch is on (ProgramState.ShowHint).
bool HintsShown();
// The window takes the switch's current state.
void TakeHintSetting(QWidget& window);
// Sets the switch; each window given that exists takes it at once.
void SetHintsShown(bool on, std::initializer_list<QWidget*> windows);
