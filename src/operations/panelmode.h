#pragma once

// The operations the operation panel serves; the values are what
// GlobalReplaceBox::setMode takes.
enum PanelMode {
    ExtraSpaces = 0,
    FindReplace = 1,
    FormatText = 2,
    RenameFiles = 3,
    TagsFromFiles = 4,
    KeysAndBpm = 5,
};
