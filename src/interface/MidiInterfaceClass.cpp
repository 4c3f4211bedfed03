#include "interface/MidiInterfaceClass.h"

#include "interface/ReturningOutput.h"
#include "interface/WirePacer.h"

#include <optional>
#include <type_traits>

namespace
{
// Fills a selector: "(Disconnected)" with id n + 1, a separator when devices follow, then the
// devices with ids 1 to n. Nothing is selected and no notification is sent.
void fillSelector (juce::ComboBox& selector, const juce::Array<juce::MidiDeviceInfo>& devices)
{
    selector.clear (juce::dontSendNotification);
    selector.addItem ("(Disconnected)", devices.size() + 1);

    if (!devices.isEmpty())
        selector.addSeparator();

    // A combo box cannot show an empty text: a device without a name shows its identifier.
    for (int i = 0; i < devices.size(); ++i)
        selector.addItem (devices[i].name.isNotEmpty() ? devices[i].name : devices[i].identifier, i + 1);
}

// The item id of the device in the list: the same identifier and name (an identifier may be given
// to another device once the first has gone). 0 when it is not there.
int findDevice (const juce::Array<juce::MidiDeviceInfo>& devices, const juce::MidiDeviceInfo& device)
{
    if (device.identifier.isEmpty())
        return 0;

    return devices.indexOf (device) + 1;
}

juce::MidiDeviceInfo deviceAt (const juce::Array<juce::MidiDeviceInfo>& devices, int itemId)
{
    if (itemId < 1 || itemId > devices.size())
        return {};

    return devices[itemId - 1];
}

template <typename Port> constexpr bool isInput = std::is_same_v<Port, MidiInputPort>;
} // namespace

MidiInterfaceClass::MidiInterfaceClass (bool withOutput, bool withInput, MidiPortProvider& portsToUse)
    : ports (portsToUse), hasInput (withInput), hasOutput (withOutput)
{
    if (withOutput)
        buildDirection (outputs, "Output Selector", "Select an output device:");

    if (withInput)
        buildDirection (inputs, "Input Selector", "Select an input device:");

    if (withOutput || withInput)
        startTimer (pollIntervalMs);
}

MidiInterfaceClass::~MidiInterfaceClass()
{
    stopTimer();
    cancelPendingUpdate();

    // Children first, then the input (its thread stops with it), then the output.
    forEachDirection (
        [] (auto& direction)
        {
            direction.label.reset();
            direction.selector.reset();
        });

    close (inputs);
    close (outputs);
}

// Builds a selector group: the combo box with its label attached above it, filled with the devices.
template <typename Port>
void MidiInterfaceClass::buildDirection (Direction<Port>& direction, const juce::String& selectorName,
                                         const juce::String& prompt)
{
    direction.devices = readDevices (direction);
    direction.selector = std::make_unique<juce::ComboBox> (selectorName);
    direction.label = std::make_unique<juce::Label> (juce::String(), prompt);

    addAndMakeVisible (*direction.selector);
    direction.label->attachToComponent (direction.selector.get(), false);
    fillSelector (*direction.selector, direction.devices);

    // Delivered later on the message thread: the first comboBoxChanged broadcasts the initial
    // "(Disconnected)" state once the owner listens.
    direction.selector->setSelectedId (direction.disconnectedId(), juce::sendNotificationAsync);
    direction.selector->addListener (this);
}

void MidiInterfaceClass::resized()
{
    // The selectors span the interface's own width (its parent's width would push the arrow
    // button out of sight when the interface is narrower than its parent).
    const auto width = getWidth();

    if (outputs.selector != nullptr)
        outputs.selector->setBounds (0, 20, width, 30);

    if (inputs.selector != nullptr)
        inputs.selector->setBounds (0, outputs.selector != nullptr ? 70 : 20, width, 30);
}

int MidiInterfaceClass::readData (juce::uint8* destination, unsigned int maxBytes)
{
    if (!inputs.open.load())
        return 0;

    auto readPos = receiveReadPos.load (std::memory_order_relaxed);
    unsigned int copied = 0;

    while (copied < maxBytes && readPos != receiveWritePos.load (std::memory_order_acquire))
    {
        destination[copied++] = receiveBuffer[(size_t)readPos].load (std::memory_order_relaxed);
        readPos = (readPos + 1) % receiveBufferSize;
    }

    receiveReadPos.store (readPos, std::memory_order_release);
    return static_cast<int> (copied);
}

int MidiInterfaceClass::sendSysex (const juce::uint8* data, int size)
{
    startSysex (data, size);
    waitForSysex();
    return 0;
}

void MidiInterfaceClass::startSysex (const juce::uint8* data, int size)
{
    if (data == nullptr || size <= 0)
        return;

    const juce::MidiMessage message (data, size, 0.0);

    const std::scoped_lock lock (outputs.lock);

    if (outputs.port != nullptr)
        sysexDeadline = outputs.port->startMessage (message);
}

void MidiInterfaceClass::waitForSysex()
{
    WirePacer::sleepUntil (sysexDeadline);
}

bool MidiInterfaceClass::isDeviceReady()
{
    if (hasInput && hasOutput)
        return inputs.open.load() && outputs.open.load();

    if (hasOutput)
        return outputs.open.load();

    if (hasInput)
        return inputs.open.load();

    return false;
}

bool MidiInterfaceClass::checkDeviceConnected()
{
    juce::MidiDeviceInfo device;
    bool sendRefused = false;
    std::optional<bool> present;

    {
        const std::scoped_lock lock (outputs.lock);

        if (outputs.port == nullptr || outputs.lost.load())
            return false;

        device = outputs.openDevice;
        sendRefused = outputs.port->hasSendFailed();
        present = outputs.port->isDevicePresent();
    }

    // A send the platform refused did not reach the device whole, even if the device is still listed.
    if (!sendRefused && (present.has_value() ? *present : readDevices (outputs).contains (device)))
        return true;

    {
        const std::scoped_lock lock (outputs.lock);
        lostOutputName = device.name;
    }

    // Not ready from now on; the port itself is closed on the message thread, where it was opened.
    outputs.open = false;
    outputs.lost = true;
    triggerAsyncUpdate();
    return false;
}

void MidiInterfaceClass::handleAsyncUpdate()
{
    if (!outputs.lost.exchange (false))
        return;

    {
        const std::scoped_lock lock (outputs.lock);
        awaitedOutputName = lostOutputName;
    }

    close (outputs);

    if (outputs.selector != nullptr)
        outputs.selector->setSelectedId (outputs.disconnectedId(), juce::dontSendNotification);

    sendChangeMessage();
}

void MidiInterfaceClass::timerCallback()
{
    refreshDevices();
}

void MidiInterfaceClass::refreshDevices()
{
    // The lists never change under an upload (it disables the interface), nor under an open list,
    // whose items would then name other devices than those the user sees.
    if (!isEnabled())
        return;

    if ((outputs.selector != nullptr && outputs.selector->isPopupActive()) ||
        (inputs.selector != nullptr && inputs.selector->isPopupActive()))
        return;

    forEachDirection (
        [this] (auto& direction)
        {
            if (direction.selector != nullptr)
                refresh (direction);
        });
}

template <typename Port> void MidiInterfaceClass::refresh (Direction<Port>& direction)
{
    const auto devices = readDevices (direction);

    if (devices == direction.devices)
    {
        // Plugged in again between two polls, perhaps under its old identifier: the list looks as it
        // did before the loss, and the pedal is in it.
        if constexpr (!isInput<Port>)
            if (!direction.open.load() && selectReturningOutput())
                sendChangeMessage();

        return;
    }

    const auto shown = deviceAt (direction.devices, direction.selector->getSelectedId());
    juce::MidiDeviceInfo openDevice;

    {
        const std::scoped_lock lock (direction.lock);

        if (direction.port != nullptr)
            openDevice = direction.openDevice;
    }

    direction.devices = devices;
    fillSelector (*direction.selector, devices);

    const auto shownId = findDevice (devices, shown);
    direction.selector->setSelectedId (shownId > 0 ? shownId : direction.disconnectedId(),
                                       juce::dontSendNotification);

    if (openDevice.identifier.isEmpty())
    {
        if constexpr (!isInput<Port>)
            if (selectReturningOutput())
                sendChangeMessage();

        return;
    }

    if (const auto openId = findDevice (devices, openDevice); openId > 0)
    {
        direction.openId = openId;
    }
    else
    {
        close (direction);
        sendChangeMessage();
    }
}

template <typename Port> juce::Array<juce::MidiDeviceInfo> MidiInterfaceClass::readDevices (Direction<Port>&)
{
    const std::scoped_lock lock (deviceQueryLock);

    if constexpr (isInput<Port>)
        return ports.getInputDevices();
    else
        return ports.getOutputDevices();
}

int MidiInterfaceClass::getPreferredHeight()
{
    return hasInput && hasOutput ? 100 : 50;
}

juce::StringArray MidiInterfaceClass::getOutputNames() const
{
    juce::StringArray names;

    for (const auto& device : outputs.devices)
        names.add (device.name);

    return names;
}

void MidiInterfaceClass::selectOutput (int itemId)
{
    awaitedOutputName.clear();
    select (outputs, itemId);
}

bool MidiInterfaceClass::selectReturningOutput()
{
    const auto itemId = findReturningOutput (awaitedOutputName, getOutputNames());

    if (itemId == 0)
        return false;

    outputs.selector->setSelectedId (itemId, juce::dontSendNotification);
    open (outputs, itemId);

    // One try: a device that is back but refuses to open is left to the user, who sees it listed.
    awaitedOutputName.clear();

    if (!outputs.open.load())
        outputs.selector->setSelectedId (outputs.disconnectedId(), juce::dontSendNotification);

    return true;
}

void MidiInterfaceClass::selectInput (int itemId)
{
    select (inputs, itemId);
}

// The item is shown without the selector's notification, and opening leaves an already open
// device alone: in automatic mode the upload starts sending right after this call, and a
// close-and-reopen from a notification delivered later (this one, or the one still pending from
// construction) would cut into that send.
template <typename Port> void MidiInterfaceClass::select (Direction<Port>& direction, int itemId)
{
    if (direction.selector != nullptr && direction.selector->indexOfItemId (itemId) >= 0)
        direction.selector->setSelectedId (itemId, juce::dontSendNotification);

    sendChangeMessage();
    open (direction, itemId);
}

void MidiInterfaceClass::comboBoxChanged (juce::ComboBox* box)
{
    forEachDirection (
        [this, box] (auto& direction)
        {
            if (box == nullptr || box != direction.selector.get())
                return;

            // The user has chosen: a lost output no longer comes back by itself.
            if (box == outputs.selector.get())
                awaitedOutputName.clear();

            const auto id = box->getSelectedId();

            if (id >= 1 && id <= direction.devices.size())
            {
                open (direction, id);
                sendChangeMessage();
            }
            else if (id == direction.disconnectedId())
            {
                close (direction);
                sendChangeMessage();
            }
        });
}

void MidiInterfaceClass::handleIncomingMidiMessage (juce::MidiInput*, const juce::MidiMessage& message)
{
    const auto* bytes = message.getRawData();
    auto writePos = receiveWritePos.load (std::memory_order_relaxed);

    // No overflow check: unread bytes are overwritten, and a writer that catches up with the
    // reader leaves the ring reading as empty.
    for (int i = 0; i < message.getRawDataSize(); ++i)
    {
        receiveBuffer[(size_t)writePos].store (bytes[i], std::memory_order_relaxed);
        writePos = (writePos + 1) % receiveBufferSize;
        receiveWritePos.store (writePos, std::memory_order_release);
    }
}

template <typename Port> void MidiInterfaceClass::open (Direction<Port>& direction, int itemId)
{
    if (itemId == direction.openId && direction.open.load())
        return; // already open, and perhaps sending

    close (direction);

    if (itemId < 1 || itemId > direction.devices.size())
        return;

    const auto device = direction.devices[itemId - 1];
    std::unique_ptr<Port> port;

    if constexpr (isInput<Port>)
        port = ports.openInput (device.identifier, *this);
    else
        port = ports.openOutput (device.identifier);

    if (port == nullptr)
        return;

    {
        const std::scoped_lock lock (direction.lock);
        direction.port = std::move (port);
        direction.openId = itemId;
        direction.openDevice = device;
        direction.lost = false;
        direction.open = true;
    }

    if constexpr (isInput<Port>)
        direction.port->start();
}

template <typename Port> void MidiInterfaceClass::close (Direction<Port>& direction)
{
    std::unique_ptr<Port> port;

    {
        const std::scoped_lock lock (direction.lock); // waits for a send in progress
        direction.open = false;
        port = std::move (direction.port);
        direction.openId = 0;
        direction.openDevice = {};
    }

    if constexpr (isInput<Port>)
        if (port != nullptr)
            port->stop();
}
