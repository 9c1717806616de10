// Blast Arena's entry point.
#include "app.h"

int main(int argc, char **argv)
{
    return run_game(argc, argv);
}
END_OF_MAIN()
