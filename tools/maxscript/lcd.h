// The lcd stand-in built into maxscript: an indexed-colour canvas for the drawing messages that
// objects send ("clear", "size", "paintrect"), which can be written out as a PNG file.
#pragma once

#include "ext.h"

#include <string>

namespace maxscript {

// Registers the class "lcd"; handed to maxhost::add_builtin.
void lcd_setup();

// True when x is an instance of the lcd class.
bool is_lcd(t_object *x);

// True once anything was painted on the lcd.
bool lcd_painted(t_object *x);

// The 256-colour palette as RGB triples: palette()[3 * i] is the red of colour number i.
const unsigned char *palette();

// Writes the lcd's current drawing as an 8-bit RGB PNG file. False with *error set on failure.
bool lcd_write_png(t_object *x, const std::string &path, std::string *error);

}  // namespace maxscript
