// Services every room uses to deal with files and to tell the player how an
// operation went: the one-step file replacement and the message line.
#pragma once

#include <allegro.h>
#include <cstddef>

// Replaces the file at path with the given bytes in one step: a fresh
// temporary beside the file's real place, synced, then renamed over it. A
// path that is a symbolic link stays one; its target is replaced. A file
// without write permission is refused, and so is anything but a file
// (EISDIR for a directory, EPERM for a pipe, socket or device). Returns 0, or the errno that stopped
// it, in which case the old file is exactly as it was.
int replace_file(const char *path, const void *bytes, size_t size);
// Removes the temporaries a save killed before its rename left in dir: those
// of the file `name`, or of any file when name is nullptr, untouched for
// STALE_TEMPORARY_S seconds. Nothing else is ever removed. Returns how many.
constexpr int STALE_TEMPORARY_S = 60;
int remove_stale_temporaries(const char *dir, const char *name);
// Tests only: the bytes a write may put down before the disk "fills up";
// negative means no limit.
extern long file_write_limit;

// One line for the player, shown for about two seconds where the current
// screen keeps its messages (the editor's panel, the bottom of the menu).
// A failure goes to standard error as well.
constexpr int MESSAGE_SIZE = 96;
constexpr int MESSAGE_MS = 2000;
void show_failure(const char *format, ...) __attribute__((format(printf, 1, 2)));
// Something worked but the player should know a catch: shown in its own
// colour, and on standard error like a failure.
void show_warning(const char *format, ...) __attribute__((format(printf, 1, 2)));
void show_note(const char *format, ...) __attribute__((format(printf, 1, 2)));
const char *current_message();   // nullptr once it has been shown long enough
bool current_message_is_failure();
bool current_message_is_warning();
void clear_message();
extern long long (*message_clock_ms)();   // a steady clock; tests move it
int draw_message(BITMAP *b, int centre_x, int top, int max_chars);
// A file name made drawable in the built-in font (see messages.cpp).
void printable_text(const char *in, char *out, size_t size);

bool is_control_char(unsigned char c);   // 1..31 and 127: never shown, never part of a name
