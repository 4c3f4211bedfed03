// Placeholder entry point until the application shell lands.
#include <juce_gui_basics/juce_gui_basics.h>

int main()
{
    return 0;
}
