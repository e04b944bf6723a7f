#pragma once

class QPushButton;

// Gives a push button the blue dialog-button look of the stylesheet, which
// matches the "custom_messagebox" property; the re-polish makes it apply now.
void makeDialogButton(QPushButton *button);
