#pragma once

class QWidget;

// The main menu's export command of `tag` (81-85): asks for the file, writes
// the whole table to it and opens it with the desktop's spreadsheet program.
// A cancelled file dialog does nothing; a failure throws data::Error (for the
// command's guard) and leaves no file behind.
void runTableExport(int tag, QWidget *parent);
