#include "interface/MidiInterfaceClass.h"
#include "support/NeedsDisplay.h"
#include "support/VirtualMidiPortProvider.h"

#include <gtest/gtest.h>

#include <thread>

using namespace std::chrono_literals;

namespace
{
struct ChangeCounter final : juce::ChangeListener
{
    void changeListenerCallback (juce::ChangeBroadcaster*) override { ++count; }
    int count = 0;
};

void pumpMessages()
{
    juce::MessageManager::getInstance()->runDispatchLoopUntil (50);
}

juce::ComboBox* findSelector (juce::Component& interface, const juce::String& name)
{
    for (auto* child : interface.getChildren())
        if (child->getName() == name)
            return dynamic_cast<juce::ComboBox*> (child);

    return nullptr;
}

juce::Label* findLabelFor (juce::Component& interface, juce::Component& selector)
{
    for (auto* child : interface.getChildren())
        if (auto* label = dynamic_cast<juce::Label*> (child);
            label != nullptr && label->getAttachedComponent() == &selector)
            return label;

    return nullptr;
}

// The selector's menu as "text=id" entries and "-" for separators, joined by blanks.
juce::String menuEntries (juce::ComboBox& selector)
{
    juce::StringArray entries;

    for (juce::PopupMenu::MenuItemIterator it (*selector.getRootMenu()); it.next();)
    {
        const auto& item = it.getItem();
        entries.add (item.isSeparator ? juce::String ("-") : item.text + "=" + juce::String (item.itemID));
    }

    return entries.joinIntoString (" ");
}

std::vector<juce::uint8> sysex (int size)
{
    std::vector<juce::uint8> bytes ((size_t)size, 0x11);
    bytes.front() = 0xf0;
    bytes.back() = 0xf7;
    return bytes;
}

// An output-only interface on virtual devices "A" and "B", with a listener counting broadcasts.
class MidiInterfaceOutputTest : public ::testing::Test
{
protected:
    MidiInterfaceOutputTest()
        : a (ports.addOutput ("A")), b (ports.addOutput ("B")),
          midiInterface (std::make_unique<MidiInterfaceClass> (true, false, ports)),
          selector (findSelector (*midiInterface, "Output Selector"))
    {
        midiInterface->addChangeListener (&changes);
    }

    ~MidiInterfaceOutputTest() override { midiInterface->removeChangeListener (&changes); }

    // What a user's choice in the pop-up does.
    void choose (int itemId) { selector->setSelectedId (itemId, juce::sendNotificationSync); }

    VirtualMidiPortProvider ports;
    VirtualMidiOutput& a;
    VirtualMidiOutput& b;
    std::unique_ptr<MidiInterfaceClass> midiInterface;
    juce::ComboBox* selector;
    ChangeCounter changes;
};
} // namespace

//==================================================================================================
// Selector contents

TEST (MidiInterfaceSelector, ListsDevicesWithIdsAndDisconnectedLast)
{
    struct Case
    {
        juce::StringArray devices;
        juce::String expectedMenu;
        int disconnectedId;
    };

    const Case cases[] = {
        { {}, "(Disconnected)=1", 1 },
        { { "A", "B" }, "(Disconnected)=3 - A=1 B=2", 3 },
        // A nameless device shows its identifier (a combo box cannot show an empty item).
        { { "", "B" }, "(Disconnected)=3 - virtual-out-1=1 B=2", 3 },
    };

    for (const auto& c : cases)
    {
        SCOPED_TRACE (c.devices.joinIntoString (","));
        VirtualMidiPortProvider ports;
        for (const auto& name : c.devices)
            ports.addOutput (name);

        MidiInterfaceClass midiInterface (true, false, ports);
        auto* selector = findSelector (midiInterface, "Output Selector");
        ASSERT_NE (selector, nullptr);

        EXPECT_EQ (menuEntries (*selector), c.expectedMenu);
        EXPECT_EQ (selector->getSelectedId(), c.disconnectedId);
        EXPECT_EQ (selector->getText(), "(Disconnected)");
        EXPECT_FALSE (midiInterface.isDeviceReady());
        EXPECT_EQ (findSelector (midiInterface, "Input Selector"), nullptr);
    }
}

TEST (MidiInterfaceSelector, LabelsAreAttachedAboveTheirSelectors)
{
    VirtualMidiPortProvider ports;
    MidiInterfaceClass midiInterface (true, true, ports);

    const std::pair<const char*, const char*> groups[] = { { "Output Selector", "Select an output device:" },
                                                           { "Input Selector", "Select an input device:" } };

    for (const auto& [selectorName, labelText] : groups)
    {
        SCOPED_TRACE (selectorName);
        auto* selector = findSelector (midiInterface, selectorName);
        ASSERT_NE (selector, nullptr);
        EXPECT_TRUE (selector->isVisible());

        auto* label = findLabelFor (midiInterface, *selector);
        ASSERT_NE (label, nullptr);
        EXPECT_EQ (label->getText(), labelText);
        EXPECT_EQ (label->getName(), "");
        EXPECT_FALSE (label->isAttachedOnLeft());
    }
}

TEST (MidiInterfaceSelector, DevicesAreOpenedByTheIdentifierReadAtConstruction)
{
    VirtualMidiPortProvider ports;
    auto& a = ports.addOutput ("A");
    auto& b = ports.addOutput ("B");
    MidiInterfaceClass midiInterface (true, false, ports);

    // The system's list changes afterwards: "A" goes, "C" comes. Item 2 still means "B".
    a.vanish();
    ports.addOutput ("C");

    midiInterface.selectOutput (2);
    EXPECT_TRUE (b.isOpen());
    EXPECT_TRUE (midiInterface.isDeviceReady());

    midiInterface.selectOutput (1);
    EXPECT_FALSE (midiInterface.isDeviceReady());
    EXPECT_EQ (ports.getEvents().joinIntoString (", "), "open B, close B, open failed A");
}

//==================================================================================================
// Choosing, opening, closing

TEST_F (MidiInterfaceOutputTest, BroadcastsOnceAfterConstruction)
{
    EXPECT_EQ (changes.count, 0);
    pumpMessages();
    EXPECT_EQ (changes.count, 1);
    pumpMessages();
    EXPECT_EQ (changes.count, 1);
    EXPECT_TRUE (ports.getEvents().isEmpty());
}

TEST_F (MidiInterfaceOutputTest, ChoosingADeviceClosesThePreviousFirst)
{
    pumpMessages();

    choose (1);
    EXPECT_TRUE (midiInterface->isDeviceReady());
    pumpMessages();
    choose (2);
    EXPECT_TRUE (midiInterface->isDeviceReady());
    EXPECT_FALSE (a.isOpen());
    EXPECT_TRUE (b.isOpen());

    EXPECT_EQ (ports.getEvents().joinIntoString (", "), "open A, close A, open B");
    pumpMessages();
    EXPECT_EQ (changes.count, 1 + 2);
}

TEST_F (MidiInterfaceOutputTest, ChoosingDisconnectedClosesAndBroadcasts)
{
    pumpMessages();
    choose (2);
    pumpMessages();
    const auto before = changes.count;

    choose (3);
    EXPECT_FALSE (midiInterface->isDeviceReady());
    EXPECT_FALSE (b.isOpen());
    pumpMessages();
    EXPECT_EQ (changes.count, before + 1);
}

TEST_F (MidiInterfaceOutputTest, DeviceThatFailsToOpenLeavesTheDirectionClosedAndStillBroadcasts)
{
    pumpMessages();
    a.setFailsToOpen (true);

    choose (1);
    EXPECT_FALSE (midiInterface->isDeviceReady());
    EXPECT_EQ (ports.getEvents().joinIntoString (", "), "open failed A");
    pumpMessages();
    EXPECT_EQ (changes.count, 2);

    // Choosing it again once it works opens it.
    a.setFailsToOpen (false);
    choose (3);
    choose (1);
    EXPECT_TRUE (midiInterface->isDeviceReady());
}

TEST (MidiInterfaceSelectOutput, ShowsOpensAndBroadcasts)
{
    struct Case
    {
        int itemId;
        int shownId;
        juce::String events;
    };

    const Case cases[] = {
        { 1, 1, "open A" }, // the first device
        { 2, 2, "open B" }, // the second
        { 3, 3, "" },       // "(Disconnected)"
        { 4, 3, "" },       // no such item: the selector stays as it was
        { 99, 3, "" },      // far beyond
    };

    for (const auto& c : cases)
    {
        SCOPED_TRACE (c.itemId);
        VirtualMidiPortProvider freshPorts;
        freshPorts.addOutput ("A");
        freshPorts.addOutput ("B");
        MidiInterfaceClass fresh (true, false, freshPorts);
        ChangeCounter counter;
        fresh.addChangeListener (&counter);
        pumpMessages();

        fresh.selectOutput (c.itemId);

        EXPECT_EQ (findSelector (fresh, "Output Selector")->getSelectedId(), c.shownId);
        EXPECT_EQ (fresh.isDeviceReady(), !c.events.isEmpty());
        pumpMessages();
        EXPECT_EQ (counter.count, 2);
        EXPECT_EQ (freshPorts.getEvents().joinIntoString (", "), c.events);
        fresh.removeChangeListener (&counter);
    }
}

// In automatic mode the upload sends right after selectOutput, before the message thread has run:
// neither the selector's notification pending from construction nor showing the item may close
// and reopen the device under that send.
TEST_F (MidiInterfaceOutputTest, SelectOutputNeverReopensTheDeviceUnderARunningSend)
{
    a.setBytesPerSecond (VirtualMidiOutput::midiWireRate);
    const auto message = sysex (600); // about 190 ms on the wire

    midiInterface->selectOutput (1);
    std::thread upload ([&] { midiInterface->sendSysex (message.data(), (int)message.size()); });

    pumpMessages();
    midiInterface->selectOutput (1); // a second time, as a careless caller might
    pumpMessages();
    upload.join();

    EXPECT_EQ (ports.getEvents().joinIntoString (", "), "open A");
    ASSERT_EQ (a.getMessageCount(), 1u);
    EXPECT_EQ (a.getMessages()[0], message);
    EXPECT_EQ (selector->getSelectedId(), 1);
    EXPECT_TRUE (midiInterface->isDeviceReady());
}

TEST_F (MidiInterfaceOutputTest, ClosingWaitsForTheSendInProgress)
{
    a.setBytesPerSecond (VirtualMidiOutput::midiWireRate);
    const auto message = sysex (300); // about 96 ms on the wire
    pumpMessages();
    choose (1);

    std::atomic<bool> observed { false };
    a.setObserver ([&] (const juce::MidiMessage&) { observed = true; });
    std::thread upload ([&] { midiInterface->sendSysex (message.data(), (int)message.size()); });
    while (!observed)
        std::this_thread::yield();

    choose (3);
    EXPECT_EQ (a.getTotalBytes(), message.size()); // taken whole before the port went
    EXPECT_FALSE (a.isOpen());
    upload.join();
}

//==================================================================================================
// Sending

TEST_F (MidiInterfaceOutputTest, SendSysexSendsTheBytesAsOneMessageOnlyWhenAnOutputIsOpen)
{
    const auto message = sysex (20);
    pumpMessages();

    EXPECT_EQ (midiInterface->sendSysex (message.data(), (int)message.size()), 0);
    EXPECT_EQ (a.getMessageCount() + b.getMessageCount(), 0u);

    choose (2);
    EXPECT_EQ (midiInterface->sendSysex (message.data(), (int)message.size()), 0);
    ASSERT_EQ (b.getMessageCount(), 1u);
    EXPECT_EQ (b.getMessages()[0], message);

    choose (3);
    EXPECT_EQ (midiInterface->sendSysex (message.data(), (int)message.size()), 0);
    EXPECT_EQ (b.getMessageCount(), 1u);
    EXPECT_EQ (a.getMessageCount(), 0u);
}

TEST_F (MidiInterfaceOutputTest, SendSysexWithNoBytesSendsNothing)
{
    choose (1);
    const juce::uint8 byte = 0xf0;

    EXPECT_EQ (midiInterface->sendSysex (nullptr, 10), 0);
    EXPECT_EQ (midiInterface->sendSysex (&byte, 0), 0);
    EXPECT_EQ (a.getMessageCount(), 0u);
}

//==================================================================================================
// Layout

TEST (MidiInterfaceLayout, PreferredHeightAndSelectorBounds)
{
    struct Case
    {
        bool withOutput, withInput;
        int preferredHeight;
        int outputY, inputY; // -1: no such selector
    };

    const Case cases[] = {
        { true, false, 50, 20, -1 },
        { true, true, 100, 20, 70 },
        { false, true, 50, -1, 20 },
        { false, false, 50, -1, -1 },
    };

    for (const auto& c : cases)
    {
        SCOPED_TRACE (juce::String (c.withOutput ? "output " : "") + (c.withInput ? "input" : ""));
        VirtualMidiPortProvider ports;
        juce::Component parent;
        parent.setSize (400, 300);
        MidiInterfaceClass midiInterface (c.withOutput, c.withInput, ports);
        parent.addAndMakeVisible (midiInterface);

        EXPECT_EQ (midiInterface.getPreferredHeight(), c.preferredHeight);
        midiInterface.setBounds (10, 40, 380, midiInterface.getPreferredHeight());

        const std::pair<const char*, int> selectors[] = { { "Output Selector", c.outputY },
                                                          { "Input Selector", c.inputY } };
        for (const auto& [name, y] : selectors)
        {
            auto* selector = findSelector (midiInterface, name);

            if (y < 0)
            {
                EXPECT_EQ (selector, nullptr) << name;
                continue;
            }

            ASSERT_NE (selector, nullptr) << name;
            EXPECT_EQ (selector->getBounds(), juce::Rectangle<int> (0, y, 380, 30)) << name;

            auto* label = findLabelFor (midiInterface, *selector);
            ASSERT_NE (label, nullptr);
            EXPECT_EQ (label->getBottom(), y) << name;
            EXPECT_EQ (label->getX(), 0) << name;
        }

        parent.removeChildComponent (&midiInterface);
    }
}

//==================================================================================================
// Receiving

namespace
{
// An input-only interface on the virtual input "In", opened.
class MidiInterfaceInputTest : public ::testing::Test
{
protected:
    MidiInterfaceInputTest() : in (ports.addInput ("In")), midiInterface (false, true, ports)
    {
        midiInterface.selectInput (1);
    }

    static juce::MidiMessage rawMessage (int size, juce::uint8 first = 0)
    {
        std::vector<juce::uint8> bytes ((size_t)size);
        for (int i = 0; i < size; ++i)
            bytes[(size_t)i] = (juce::uint8) ((first + i) & 0x7f);
        bytes.front() = 0xf0;
        bytes.back() = 0xf7;
        return juce::MidiMessage (bytes.data(), size);
    }

    VirtualMidiPortProvider ports;
    VirtualMidiInput& in;
    MidiInterfaceClass midiInterface;
};
} // namespace

TEST_F (MidiInterfaceInputTest, OpensAndStartsTheInput)
{
    EXPECT_TRUE (in.isStarted());
    EXPECT_TRUE (midiInterface.isDeviceReady());

    midiInterface.selectInput (2); // "(Disconnected)"
    EXPECT_FALSE (in.isOpen());
    EXPECT_FALSE (midiInterface.isDeviceReady());
}

TEST_F (MidiInterfaceInputTest, ReadsReceivedBytesInPiecesAndInOrder)
{
    const auto message = rawMessage (10);
    ASSERT_EQ (in.inject (message), 1);

    juce::uint8 buffer[100] = {};
    ASSERT_EQ (midiInterface.readData (buffer, 4), 4);
    EXPECT_TRUE (std::equal (buffer, buffer + 4, message.getRawData()));

    ASSERT_EQ (midiInterface.readData (buffer, 100), 6);
    EXPECT_TRUE (std::equal (buffer, buffer + 6, message.getRawData() + 4));

    EXPECT_EQ (midiInterface.readData (buffer, 100), 0);
}

TEST_F (MidiInterfaceInputTest, RingWrapsAndOverflowOverwritesUnreadBytes)
{
    struct Case
    {
        std::vector<int> messageSizes;
        int expectedReadable;
    };

    const Case cases[] = {
        { { 256 }, 0 },       // the writer catches up with the reader: reads as empty
        { { 200, 100 }, 44 }, // 300 written: only the 44 after the lap are readable
        { { 255 }, 255 },     // the most a ring of 256 holds
    };

    for (const auto& c : cases)
    {
        SCOPED_TRACE (c.expectedReadable);
        MidiInterfaceClass fresh (false, true, ports);
        fresh.selectInput (1);

        for (auto size : c.messageSizes)
            fresh.handleIncomingMidiMessage (nullptr, rawMessage (size));

        juce::uint8 buffer[512] = {};
        EXPECT_EQ (fresh.readData (buffer, sizeof (buffer)), c.expectedReadable);
    }
}

TEST_F (MidiInterfaceInputTest, ReadDataWithNoInputOpenReturnsNothing)
{
    midiInterface.handleIncomingMidiMessage (nullptr, rawMessage (10));
    midiInterface.selectInput (2);

    juce::uint8 buffer[16] = {};
    EXPECT_EQ (midiInterface.readData (buffer, sizeof (buffer)), 0);
}

// A MIDI thread delivers while the reader reads: every byte arrives once and in order. The writer
// keeps at most 240 bytes unread, so the ring never overflows.
TEST_F (MidiInterfaceInputTest, ConcurrentWriterAndReaderKeepEveryByteInOrder)
{
    constexpr int numMessages = 4000;
    constexpr int maxInFlight = 80; // 3-byte messages
    std::atomic<int> bytesRead { 0 };

    std::thread midiThread (
        [&]
        {
            for (int k = 0; k < numMessages; ++k)
            {
                while (k * 3 - bytesRead.load() >= maxInFlight * 3)
                    std::this_thread::yield();

                in.inject (juce::MidiMessage (0x90, k & 0x7f, (k >> 7) & 0x7f));
            }
        });

    std::vector<juce::uint8> received;
    const auto giveUpAt = std::chrono::steady_clock::now() + 20s;

    while ((int)received.size() < numMessages * 3 && std::chrono::steady_clock::now() < giveUpAt)
    {
        juce::uint8 chunk[7];
        const auto n = midiInterface.readData (chunk, sizeof (chunk));
        received.insert (received.end(), chunk, chunk + n);
        bytesRead = (int)received.size();
    }

    midiThread.join();
    ASSERT_EQ (received.size(), (size_t)numMessages * 3);

    for (int k = 0; k < numMessages; ++k)
    {
        const juce::uint8 expected[] = { 0x90, (juce::uint8) (k & 0x7f), (juce::uint8) ((k >> 7) & 0x7f) };
        ASSERT_TRUE (std::equal (expected, expected + 3, received.begin() + k * 3)) << "message " << k;
    }
}

//==================================================================================================
// Destruction

TEST (MidiInterfaceLifetime, ClosesTheInputBeforeTheOutput)
{
    VirtualMidiPortProvider ports;
    ports.addOutput ("Out");
    ports.addInput ("In");

    {
        MidiInterfaceClass midiInterface (true, true, ports);
        midiInterface.selectOutput (1);
        midiInterface.selectInput (1);
        EXPECT_TRUE (midiInterface.isDeviceReady());
    }

    EXPECT_EQ (ports.getEvents().joinIntoString (", "), "open Out, open In, close In, close Out");
}

TEST (MidiInterfaceLifetime, IsReadyOnlyWithEveryDirectionItHasOpen)
{
    VirtualMidiPortProvider ports;
    ports.addOutput ("Out");
    ports.addInput ("In");
    MidiInterfaceClass both (true, true, ports);

    both.selectOutput (1);
    EXPECT_FALSE (both.isDeviceReady());
    both.selectInput (1);
    EXPECT_TRUE (both.isDeviceReady());

    MidiInterfaceClass none (false, false, ports);
    EXPECT_FALSE (none.isDeviceReady());
}

//==================================================================================================
// Following the system's devices

TEST_F (MidiInterfaceOutputTest, ListFollowsArrivalsAndDeparturesKeepingTheChosenDevice)
{
    pumpMessages();
    choose (2);
    pumpMessages();
    ports.clearEvents();
    const auto before = changes.count;

    ports.addOutput ("C");
    midiInterface->refreshDevices();
    EXPECT_EQ (menuEntries (*selector), "(Disconnected)=4 - A=1 B=2 C=3");
    EXPECT_EQ (selector->getText(), "B");

    // A device before the chosen one leaves: the chosen one keeps its port under its new id.
    a.vanish();
    midiInterface->refreshDevices();
    EXPECT_EQ (menuEntries (*selector), "(Disconnected)=3 - B=1 C=2");
    EXPECT_EQ (selector->getSelectedId(), 1);
    EXPECT_TRUE (midiInterface->isDeviceReady());
    midiInterface->selectOutput (1); // B: already open, so not reopened
    EXPECT_TRUE (ports.getEvents().isEmpty());
    pumpMessages();
    EXPECT_EQ (changes.count, before + 1); // only the one from selectOutput

    const auto message = sysex (10);
    midiInterface->sendSysex (message.data(), (int)message.size());
    EXPECT_EQ (b.getMessageCount(), 1u);

    // The chosen device leaves: closed, "(Disconnected)" shown, and the listeners are told.
    b.vanish();
    midiInterface->refreshDevices();
    EXPECT_EQ (menuEntries (*selector), "(Disconnected)=2 - C=1");
    EXPECT_EQ (selector->getText(), "(Disconnected)");
    EXPECT_FALSE (midiInterface->isDeviceReady());
    EXPECT_EQ (ports.getEvents().joinIntoString (", "), "close B");
    pumpMessages();
    EXPECT_EQ (changes.count, before + 2);

    // Back again: listed, but not chosen again behind the user's back.
    b.reappear();
    midiInterface->refreshDevices();
    EXPECT_EQ (menuEntries (*selector), "(Disconnected)=3 - B=1 C=2");
    EXPECT_EQ (selector->getText(), "(Disconnected)");
    EXPECT_FALSE (b.isOpen());
}

TEST_F (MidiInterfaceOutputTest, ListIsReadAgainByItselfAndNeverDuringAnUpload)
{
    pumpMessages();

    // The upload disables the interface: the list stays as it is, whatever arrives.
    midiInterface->setEnabled (false);
    ports.addOutput ("C");
    juce::MessageManager::getInstance()->runDispatchLoopUntil (3 * MidiInterfaceClass::pollIntervalMs);
    midiInterface->refreshDevices();
    EXPECT_EQ (menuEntries (*selector), "(Disconnected)=3 - A=1 B=2");

    // Enabled again, the next poll shows it.
    midiInterface->setEnabled (true);
    const auto giveUpAt = juce::Time::getMillisecondCounter() + 10000;

    while (menuEntries (*selector) != "(Disconnected)=4 - A=1 B=2 C=3" &&
           juce::Time::getMillisecondCounter() < giveUpAt)
        juce::MessageManager::getInstance()->runDispatchLoopUntil (20);

    EXPECT_EQ (menuEntries (*selector), "(Disconnected)=4 - A=1 B=2 C=3");
}

TEST_F (MidiInterfaceOutputTest, DeviceGoneUnderTheUploadIsNoLongerReadyAndIsReleased)
{
    pumpMessages();
    choose (1);
    pumpMessages();
    const auto before = changes.count;
    midiInterface->setEnabled (false); // as during an upload

    std::atomic<bool> connected { false };
    std::thread upload ([&] { connected = midiInterface->checkDeviceConnected(); });
    upload.join();
    EXPECT_TRUE (connected);

    a.vanish();
    upload = std::thread ([&] { connected = midiInterface->checkDeviceConnected(); });
    upload.join();
    EXPECT_FALSE (connected);
    EXPECT_FALSE (midiInterface->isDeviceReady()); // at once, before the message thread runs

    pumpMessages();
    EXPECT_FALSE (a.isOpen());
    EXPECT_EQ (selector->getText(), "(Disconnected)");
    EXPECT_EQ (changes.count, before + 1);

    // Nothing open: nothing is connected.
    EXPECT_FALSE (midiInterface->checkDeviceConnected());
}

// Where the platform can answer for the open port's device alone, the check between two messages
// asks it and reads no list (a list reading held the next message back); a device gone is still found.
TEST_F (MidiInterfaceOutputTest, PortThatAnswersForItsDeviceIsAskedInsteadOfTheList)
{
    a.setPortsAnswerPresence (true);
    pumpMessages();
    choose (1);
    pumpMessages();
    midiInterface->setEnabled (false); // as during an upload
    const auto listReads = ports.getOutputListReads();

    const auto checkOnAnotherThread = [this]
    {
        std::atomic<bool> connected { false };
        std::thread upload ([&] { connected = midiInterface->checkDeviceConnected(); });
        upload.join();
        return connected.load();
    };

    EXPECT_TRUE (checkOnAnotherThread());
    a.vanish();
    EXPECT_FALSE (checkOnAnotherThread());
    EXPECT_FALSE (midiInterface->isDeviceReady());
    EXPECT_EQ (ports.getOutputListReads(), listReads);
}

// The pedal lost in the middle of an update comes back, often under another identifier after it is
// re-enumerated: it is chosen again by itself. Nothing else is.
TEST_F (MidiInterfaceOutputTest, OutputLostUnderTheUploadIsChosenAgainWhenItComesBack)
{
    pumpMessages();
    choose (1);
    pumpMessages();
    midiInterface->setEnabled (false);
    a.vanish();
    std::thread upload ([this] { midiInterface->checkDeviceConnected(); });
    upload.join();
    pumpMessages();
    midiInterface->setEnabled (true);
    midiInterface->refreshDevices();
    ASSERT_EQ (menuEntries (*selector), "(Disconnected)=2 - B=1");
    ports.clearEvents();
    const auto before = changes.count;

    // Another device arrives: listed, nothing chosen.
    ports.addOutput ("C");
    midiInterface->refreshDevices();
    EXPECT_EQ (selector->getText(), "(Disconnected)");
    EXPECT_FALSE (midiInterface->isDeviceReady());

    // The pedal is back with a new identifier and the same name: chosen, opened, and told.
    auto& again = ports.addOutput ("A");
    midiInterface->refreshDevices();
    EXPECT_EQ (menuEntries (*selector), "(Disconnected)=4 - B=1 C=2 A=3");
    EXPECT_EQ (selector->getSelectedId(), 3);
    EXPECT_TRUE (again.isOpen());
    EXPECT_TRUE (midiInterface->isDeviceReady());
    EXPECT_EQ (ports.getEvents().joinIntoString (", "), "open A");
    pumpMessages();
    EXPECT_EQ (changes.count, before + 1);

    // Once only: chosen away and lost by an idle leave, it is not taken again behind the user's back.
    choose (1);
    b.vanish();
    midiInterface->refreshDevices();
    b.reappear();
    midiInterface->refreshDevices();
    EXPECT_EQ (selector->getText(), "(Disconnected)");
    EXPECT_FALSE (b.isOpen());
}

TEST (MidiInterfaceReturningOutput, IsNotChosenAgainWhenTwoCarryItsNameOrTheUserHasChosen)
{
    for (const bool userChoosesFirst : { false, true })
    {
        SCOPED_TRACE (userChoosesFirst ? "the user chooses first" : "two come back");
        VirtualMidiPortProvider devices;
        auto& pedal = devices.addOutput ("A");
        devices.addOutput ("B");
        MidiInterfaceClass lost (true, false, devices);
        auto* box = findSelector (lost, "Output Selector");
        ASSERT_NE (box, nullptr);
        pumpMessages();

        lost.selectOutput (1);
        lost.setEnabled (false);
        pedal.vanish();
        std::thread upload ([&] { lost.checkDeviceConnected(); });
        upload.join();
        pumpMessages();
        lost.setEnabled (true);
        lost.refreshDevices();
        ASSERT_EQ (menuEntries (*box), "(Disconnected)=2 - B=1");

        if (userChoosesFirst)
        {
            box->setSelectedId (1, juce::sendNotificationSync);
            box->setSelectedId (2, juce::sendNotificationSync); // and back to "(Disconnected)"
            devices.addOutput ("A");
        }
        else
        {
            devices.addOutput ("A");
            devices.addOutput ("A");
        }

        lost.refreshDevices();
        EXPECT_EQ (box->getText(), "(Disconnected)");
        EXPECT_FALSE (lost.isDeviceReady());
    }
}

// A listed device whose platform refused a send has not received that message whole.
TEST_F (MidiInterfaceOutputTest, RefusedSendCountsAsTheDeviceGone)
{
    pumpMessages();
    choose (1);
    pumpMessages();
    midiInterface->setEnabled (false);

    const juce::uint8 bytes[] = { 0xF0, 0x01, 0xF7 };
    a.setRefusesSends (true);
    std::atomic<bool> connected { true };
    std::thread upload (
        [&]
        {
            midiInterface->sendSysex (bytes, static_cast<int> (sizeof (bytes)));
            connected = midiInterface->checkDeviceConnected();
        });
    upload.join();

    EXPECT_TRUE (a.isPresent());
    EXPECT_FALSE (connected);
    EXPECT_FALSE (midiInterface->isDeviceReady());
    pumpMessages();
    EXPECT_FALSE (a.isOpen());
}

// An open list shows the items as they were when it opened; changing them under it would make a
// click choose another device than the one the user saw.
TEST_F (MidiInterfaceOutputTest, ListIsNotChangedWhileTheUserHasItOpen)
{
    SKIP_WITHOUT_DISPLAY();

    juce::Component window;
    window.setBounds (100, 100, 400, 100);
    window.addAndMakeVisible (*midiInterface);
    midiInterface->setBounds (0, 0, 400, 60);
    window.addToDesktop (0);
    window.setVisible (true);
    pumpMessages();

    selector->showPopup();
    ASSERT_TRUE (selector->isPopupActive());
    ports.addOutput ("C");
    midiInterface->refreshDevices();
    EXPECT_EQ (menuEntries (*selector), "(Disconnected)=3 - A=1 B=2");

    selector->hidePopup();
    pumpMessages();
    midiInterface->refreshDevices();
    EXPECT_EQ (menuEntries (*selector), "(Disconnected)=4 - A=1 B=2 C=3");
    window.removeChildComponent (midiInterface.get());
}
