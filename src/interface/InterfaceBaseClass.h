#pragma once

#include <juce_gui_basics/juce_gui_basics.h>

// The device connection as the rest of the system sees it: a component that also broadcasts
// changes. Listeners re-read the state through isDeviceReady(); a change message carries nothing
// else.
//
// Threads: construction, layout, selection and the select* calls happen on the message thread;
// the send calls and checkDeviceConnected are made by the upload thread; readData by whichever
// thread reads input.
class InterfaceBaseClass : public juce::Component, public juce::ChangeBroadcaster
{
public:
    // Every implementation lays out its own children.
    void resized() override = 0;

    // Copies up to maxBytes received bytes to destination; returns how many were copied.
    virtual int readData (juce::uint8* destination, unsigned int maxBytes) = 0;

    // Sends one complete SysEx message (0xF0 ... 0xF7) and returns once the device has taken it
    // whole. Returns 0 in every case; nothing is sent when no output is open.
    virtual int sendSysex (const juce::uint8* data, int size) = 0;

    // sendSysex in two halves, so that the upload thread can do its work between messages while
    // the wire carries one: startSysex returns once the message has been handed to the device (it
    // may still be on its way), waitForSysex once the device has taken it whole. By default the
    // first is the whole send and the second has nothing left to wait for.
    virtual void startSysex (const juce::uint8* data, int size) { sendSysex (data, size); }
    virtual void waitForSysex() {}

    virtual bool isDeviceReady() = 0;

    // Upload thread, after each message: whether the open output is still connected to the system.
    // A send to a device that has gone reports nothing, so this asks the system's device list.
    // When the device has gone, the output counts as closed from then on (isDeviceReady is false)
    // and the selector follows on the message thread.
    virtual bool checkDeviceConnected() = 0;
    virtual int getPreferredHeight() = 0;

    // Select and open a device by selector item id (1 is the first device in the list).
    virtual void selectOutput (int itemId) = 0;
    virtual void selectInput (int itemId) = 0;
};
