// Names and key-binding dialogs. (Placeholder until the option dialogs land.)
#include "app.h"

const char key_prompt_labels[14][12] = {
    "PL1 left", "PL1 right", "PL1 up", "PL1 down", "PL1 fire", "PL1 change", "PL1 special",
    "PL2 left", "PL2 right", "PL2 up", "PL2 down", "PL2 fire", "PL2 change", "PL2 special",
};

void input_text(BITMAP *, FONT *, int, int, int, char *, unsigned) {}
void names_dialog() {}
void keys_dialog() {}
