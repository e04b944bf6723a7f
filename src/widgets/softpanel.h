#pragma once

class QPainter;

// The frameless dialogs' look: a white rounded panel inset 5 px inside a soft
// grey edge of six rings that grow more opaque towards the panel.
namespace SoftPanel {
void paint(QPainter &painter, int width, int height);
}
