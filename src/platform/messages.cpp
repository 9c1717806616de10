// The one message line: what the player is told about a save or a settings
// write, shown for a moment by whichever screen is up.
#include "messages.h"

#include "catalogue.h"

#include <chrono>
#include <cstdarg>
#include <cstdio>
#include <cstring>

bool is_control_char(unsigned char c) { return (c >= 1 && c <= 31) || c == 127; }

namespace {

enum message_kind { NOTE, WARNING, FAILURE };

char message[MESSAGE_SIZE];
message_kind kind = NOTE;
long long message_until = 0;

long long steady_ms()
{
    using namespace std::chrono;
    return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
}

void set_message(message_kind k, const char *format, va_list args)
{
    std::vsnprintf(message, sizeof message, format, args);
    // A file name may carry any byte; the line on screen and on the
    // terminal must not carry control characters.
    for (char *c = message; *c; c++)
        if (is_control_char(static_cast<unsigned char>(*c)))
            *c = '?';
    kind = k;
    message_until = message_clock_ms() + MESSAGE_MS;
}

}  // namespace

long long (*message_clock_ms)() = steady_ms;

void show_failure(const char *format, ...)
{
    va_list args;
    va_start(args, format);
    set_message(FAILURE, format, args);
    va_end(args);
    std::fprintf(stderr, "%s\n", message);
}

void show_warning(const char *format, ...)
{
    va_list args;
    va_start(args, format);
    set_message(WARNING, format, args);
    va_end(args);
    std::fprintf(stderr, "%s\n", message);
}

void show_note(const char *format, ...)
{
    va_list args;
    va_start(args, format);
    set_message(NOTE, format, args);
    va_end(args);
}

const char *current_message()
{
    if (!message[0] || message_clock_ms() >= message_until)
        return nullptr;
    return message;
}

bool current_message_is_failure() { return kind == FAILURE; }
bool current_message_is_warning() { return kind == WARNING; }

void clear_message()
{
    message[0] = '\0';
    kind = NOTE;
}

// Names on disk are bytes, in whatever encoding made them. Text is drawn one
// byte per letter in the built-in font, which has ASCII and Latin-1: valid
// UTF-8 is shown as the Latin-1 letters it spells, any other byte as the
// Latin-1 letter it is, and what the font lacks as "?".
void printable_text(const char *in, char *out, size_t size)
{
    if (size == 0)
        return;
    auto drawable = [](unsigned c) { return (c >= 32 && c < 127) || (c >= 160 && c <= 255); };
    size_t o = 0;
    const unsigned char *p = reinterpret_cast<const unsigned char *>(in);
    while (*p && o + 1 < size) {
        unsigned c = *p;
        int extra = c >= 0xF8 ? 0 : c >= 0xF0 ? 3 : c >= 0xE0 ? 2 : c >= 0xC2 ? 1 : 0;
        if (c >= 0x80 && extra > 0) {
            unsigned code = c & (0x3F >> extra);
            int k = 1;
            for (; k <= extra && (p[k] & 0xC0) == 0x80; k++)
                code = code << 6 | (p[k] & 0x3F);
            if (k > extra) {
                out[o++] = drawable(code) ? char(code) : '?';
                p += extra + 1;
                continue;
            }
        }
        out[o++] = drawable(c) ? char(c) : '?';
        p++;
    }
    out[o] = '\0';
}

// The current message centred on centre_x from y top down, broken between
// words into lines of at most max_chars, in the panels' own lettering: the
// built-in font with a one-pixel dark shadow. Returns the lines drawn.
int draw_message(BITMAP *b, int centre_x, int top, int max_chars)
{
    const char *text = current_message();
    if (!text)
        return 0;
    char shown[MESSAGE_SIZE];
    printable_text(text, shown, sizeof shown);
    int colour = current_message_is_failure()   ? MESSAGE_FAILURE_COLOR
                 : current_message_is_warning() ? MESSAGE_WARNING_COLOR
                                                : MESSAGE_SUCCESS_COLOR;
    int shadow = MESSAGE_SHADOW_COLOR;

    int lines = 0;
    const char *p = shown;
    text_mode(-1);
    while (*p) {
        int len = static_cast<int>(std::strlen(p));
        if (len > max_chars) {
            len = max_chars;
            while (len > 0 && p[len] != ' ')
                len--;
            if (len == 0)
                len = max_chars;   // one word too long for a line: cut it
        }
        char line[MESSAGE_SIZE];
        std::snprintf(line, sizeof line, "%.*s", len, p);
        int x = centre_x - text_length(font, line) / 2;
        int y = top + lines * MESSAGE_LINE_HEIGHT;
        textout(b, font, line, x + 1, y + 1, shadow);
        textout(b, font, line, x, y, colour);
        lines++;
        p += len;
        while (*p == ' ')
            p++;
    }
    text_mode(0);
    return lines;
}
