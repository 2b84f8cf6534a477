#pragma once

// The options dialog, modal, on page 1..5 (any other keeps the page).
void ShowOptions(int page);
