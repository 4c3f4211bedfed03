#include "help/VexaHelpWindowClass.h"

#include "help/VexaHelpWindowContentComp.h"

VexaHelpWindowClass::VexaHelpWindowClass()
{
    auto* content = new VexaHelpWindowContentComp();
    setResizable (true, false);
    setContentOwned (content, false);
    setName ("Firmware Update Help");
}
