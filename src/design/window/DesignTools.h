#pragma once

#include <QCursor>
#include <QIcon>

// The design window's tools: what each places and the pictures of its button and pointer.
enum class TDesignTool { Selection, Line, Rectangle, RoundRect, Ellipse, Text, Memo, RotateLabel, CircleLabel, Image, Barcode };

// The button's picture of a tool, drawn rather than shipped so it follows the device's pixel ratio.
QIcon DesignToolIcon(TDesignTool tool);
// The pointer over the surface while the tool is chosen: the arrow for selection, a cross for
// lines, text blocks and barcodes, a small picture of the object with a cross at its hot spot for
// shapes, texts and pictures.
QCursor DesignToolCursor(TDesignTool tool);
// The pictures of the window's commands that are not tools.
enum class TDesignCommand { Save, EraseAll, Palette, Format, Preview, Help };
QIcon DesignCommandIcon(TDesignCommand command);
