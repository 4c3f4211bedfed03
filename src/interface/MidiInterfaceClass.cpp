#include "interface/MidiInterfaceClass.h"

#include "interface/WirePacer.h"

namespace
{
struct DeviceList
{
    juce::StringArray names;
    juce::StringArray identifiers;
};

DeviceList readDeviceList (const juce::Array<juce::MidiDeviceInfo>& devices)
{
    DeviceList list;

    for (const auto& device : devices)
    {
        list.names.add (device.name);
        list.identifiers.add (device.identifier);
    }

    return list;
}

// Fills a selector: "(Disconnected)" with id n + 1, a separator when devices follow, then the
// devices with ids 1 to n. Nothing is selected and no notification is sent.
void fillSelector (juce::ComboBox& selector, const DeviceList& devices)
{
    const auto& names = devices.names;

    selector.clear (juce::dontSendNotification);
    selector.addItem ("(Disconnected)", names.size() + 1);

    if (!names.isEmpty())
        selector.addSeparator();

    // A combo box cannot show an empty text: a device without a name shows its identifier.
    for (int i = 0; i < names.size(); ++i)
        selector.addItem (names[i].isNotEmpty() ? names[i] : devices.identifiers[i], i + 1);
}

// Builds a selector group: the combo box with its label attached above it, filled with the devices.
void buildSelector (juce::Component& owner, juce::ComboBox& selector, juce::Label& label,
                    const DeviceList& devices)
{
    owner.addAndMakeVisible (selector);
    label.attachToComponent (&selector, false);
    fillSelector (selector, devices);

    // Delivered later on the message thread: the first comboBoxChanged broadcasts the initial
    // "(Disconnected)" state once the owner listens.
    selector.setSelectedId (devices.names.size() + 1, juce::sendNotificationAsync);
}

bool sameDevices (const DeviceList& a, const juce::StringArray& names, const juce::StringArray& identifiers)
{
    return a.names == names && a.identifiers == identifiers;
}

// The item id of the device in the list: the same identifier and name (an identifier may be given
// to another device once the first has gone). 0 when it is not there.
int findDevice (const DeviceList& devices, const juce::MidiDeviceInfo& device)
{
    if (device.identifier.isEmpty())
        return 0;

    for (int i = 0; i < devices.identifiers.size(); ++i)
        if (devices.identifiers[i] == device.identifier && devices.names[i] == device.name)
            return i + 1;

    return 0;
}

bool listsDevice (const juce::Array<juce::MidiDeviceInfo>& devices, const juce::MidiDeviceInfo& device)
{
    for (const auto& d : devices)
        if (d.identifier == device.identifier && d.name == device.name)
            return true;

    return false;
}

juce::MidiDeviceInfo deviceAt (const juce::StringArray& names, const juce::StringArray& identifiers,
                               int itemId)
{
    if (itemId < 1 || itemId > identifiers.size())
        return {};

    return { names[itemId - 1], identifiers[itemId - 1] };
}
} // namespace

MidiInterfaceClass::MidiInterfaceClass (bool withOutput, bool withInput, MidiPortProvider& portsToUse)
    : ports (portsToUse), hasInput (withInput), hasOutput (withOutput)
{
    if (withOutput)
    {
        const auto devices = readDeviceList (readOutputDevices());
        outputNames = devices.names;
        outputIdentifiers = devices.identifiers;
        numOutputs = outputNames.size();

        outputSelector = std::make_unique<juce::ComboBox> ("Output Selector");
        outputLabel = std::make_unique<juce::Label> (juce::String(), "Select an output device:");
        buildSelector (*this, *outputSelector, *outputLabel, devices);
        outputSelector->addListener (this);
    }

    if (withInput)
    {
        const auto devices = readDeviceList (readInputDevices());
        inputNames = devices.names;
        inputIdentifiers = devices.identifiers;
        numInputs = inputNames.size();

        inputSelector = std::make_unique<juce::ComboBox> ("Input Selector");
        inputLabel = std::make_unique<juce::Label> (juce::String(), "Select an input device:");
        buildSelector (*this, *inputSelector, *inputLabel, devices);
        inputSelector->addListener (this);
    }

    if (withOutput || withInput)
        startTimer (pollIntervalMs);
}

MidiInterfaceClass::~MidiInterfaceClass()
{
    stopTimer();
    cancelPendingUpdate();

    // Children first, then the input (its thread stops with it), then the output.
    outputLabel.reset();
    outputSelector.reset();
    inputLabel.reset();
    inputSelector.reset();

    closeInput();
    closeOutput();
}

void MidiInterfaceClass::resized()
{
    // The selectors span the interface's own width (its parent's width would push the arrow
    // button out of sight when the interface is narrower than its parent).
    const auto width = getWidth();

    if (outputSelector != nullptr)
        outputSelector->setBounds (0, 20, width, 30);

    if (inputSelector != nullptr)
        inputSelector->setBounds (0, outputSelector != nullptr ? 70 : 20, width, 30);
}

int MidiInterfaceClass::readData (juce::uint8* destination, unsigned int maxBytes)
{
    if (!inputOpen.load())
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

    const std::scoped_lock lock (outputLock);

    if (midiOutput != nullptr)
        sysexDeadline = midiOutput->startMessage (message);
}

void MidiInterfaceClass::waitForSysex()
{
    WirePacer::sleepUntil (sysexDeadline);
}

bool MidiInterfaceClass::isDeviceReady()
{
    if (hasInput && hasOutput)
        return inputOpen.load() && outputOpen.load();

    if (hasOutput)
        return outputOpen.load();

    if (hasInput)
        return inputOpen.load();

    return false;
}

bool MidiInterfaceClass::checkDeviceConnected()
{
    juce::MidiDeviceInfo device;
    bool sendRefused = false;

    {
        const std::scoped_lock lock (outputLock);

        if (midiOutput == nullptr || outputLost.load())
            return false;

        device = openOutputDevice;
        sendRefused = midiOutput->hasSendFailed();
    }

    // A send the platform refused did not reach the device whole, even if the device is still listed.
    if (!sendRefused && listsDevice (readOutputDevices(), device))
        return true;

    // Not ready from now on; the port itself is closed on the message thread, where it was opened.
    outputOpen = false;
    outputLost = true;
    triggerAsyncUpdate();
    return false;
}

void MidiInterfaceClass::handleAsyncUpdate()
{
    if (!outputLost.exchange (false))
        return;

    closeOutput();

    if (outputSelector != nullptr)
        outputSelector->setSelectedId (numOutputs + 1, juce::dontSendNotification);

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

    if ((outputSelector != nullptr && outputSelector->isPopupActive()) ||
        (inputSelector != nullptr && inputSelector->isPopupActive()))
        return;

    if (outputSelector != nullptr)
        refreshOutputs();

    if (inputSelector != nullptr)
        refreshInputs();
}

void MidiInterfaceClass::refreshOutputs()
{
    const auto devices = readDeviceList (readOutputDevices());

    if (sameDevices (devices, outputNames, outputIdentifiers))
        return;

    const auto shown = deviceAt (outputNames, outputIdentifiers, outputSelector->getSelectedId());
    juce::MidiDeviceInfo open;

    {
        const std::scoped_lock lock (outputLock);

        if (midiOutput != nullptr)
            open = openOutputDevice;
    }

    outputNames = devices.names;
    outputIdentifiers = devices.identifiers;
    numOutputs = outputNames.size();
    fillSelector (*outputSelector, devices);

    const auto shownId = findDevice (devices, shown);
    outputSelector->setSelectedId (shownId > 0 ? shownId : numOutputs + 1, juce::dontSendNotification);

    if (open.identifier.isEmpty())
        return;

    if (const auto openId = findDevice (devices, open); openId > 0)
    {
        openOutputId = openId;
    }
    else
    {
        closeOutput();
        sendChangeMessage();
    }
}

void MidiInterfaceClass::refreshInputs()
{
    const auto devices = readDeviceList (readInputDevices());

    if (sameDevices (devices, inputNames, inputIdentifiers))
        return;

    const auto shown = deviceAt (inputNames, inputIdentifiers, inputSelector->getSelectedId());
    const auto open = midiInput != nullptr ? openInputDevice : juce::MidiDeviceInfo();

    inputNames = devices.names;
    inputIdentifiers = devices.identifiers;
    numInputs = inputNames.size();
    fillSelector (*inputSelector, devices);

    const auto shownId = findDevice (devices, shown);
    inputSelector->setSelectedId (shownId > 0 ? shownId : numInputs + 1, juce::dontSendNotification);

    if (open.identifier.isEmpty())
        return;

    if (const auto openId = findDevice (devices, open); openId > 0)
    {
        openInputId = openId;
    }
    else
    {
        closeInput();
        sendChangeMessage();
    }
}

juce::Array<juce::MidiDeviceInfo> MidiInterfaceClass::readOutputDevices()
{
    const std::scoped_lock lock (deviceQueryLock);
    return ports.getOutputDevices();
}

juce::Array<juce::MidiDeviceInfo> MidiInterfaceClass::readInputDevices()
{
    const std::scoped_lock lock (deviceQueryLock);
    return ports.getInputDevices();
}

int MidiInterfaceClass::getPreferredHeight()
{
    return hasInput && hasOutput ? 100 : 50;
}

// The item is shown without the selector's notification, and opening leaves an already open
// device alone: in automatic mode the upload starts sending right after this call, and a
// close-and-reopen from a notification delivered later (this one, or the one still pending from
// construction) would cut into that send.
void MidiInterfaceClass::selectOutput (int itemId)
{
    if (outputSelector != nullptr && outputSelector->indexOfItemId (itemId) >= 0)
        outputSelector->setSelectedId (itemId, juce::dontSendNotification);

    sendChangeMessage();
    openOutput (itemId);
}

void MidiInterfaceClass::selectInput (int itemId)
{
    if (inputSelector != nullptr && inputSelector->indexOfItemId (itemId) >= 0)
        inputSelector->setSelectedId (itemId, juce::dontSendNotification);

    sendChangeMessage();
    openInput (itemId);
}

void MidiInterfaceClass::comboBoxChanged (juce::ComboBox* box)
{
    if (box == nullptr)
        return;

    if (box == outputSelector.get())
    {
        const auto id = box->getSelectedId();

        if (id >= 1 && id <= numOutputs)
        {
            openOutput (id);
            sendChangeMessage();
        }
        else if (id == numOutputs + 1)
        {
            closeOutput();
            sendChangeMessage();
        }
    }
    else if (box == inputSelector.get())
    {
        const auto id = box->getSelectedId();

        if (id >= 1 && id <= numInputs)
        {
            openInput (id);
            sendChangeMessage();
        }
        else if (id == numInputs + 1)
        {
            closeInput();
            sendChangeMessage();
        }
    }
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

void MidiInterfaceClass::openOutput (int itemId)
{
    if (itemId == openOutputId && outputOpen.load())
        return; // already open, and perhaps sending

    closeOutput();

    if (itemId < 1 || itemId > numOutputs)
        return;

    if (auto port = ports.openOutput (outputIdentifiers[itemId - 1]))
    {
        const std::scoped_lock lock (outputLock);
        midiOutput = std::move (port);
        openOutputId = itemId;
        openOutputDevice = deviceAt (outputNames, outputIdentifiers, itemId);
        outputLost = false;
        outputOpen = true;
    }
}

void MidiInterfaceClass::closeOutput()
{
    const std::scoped_lock lock (outputLock); // waits for a send in progress
    midiOutput.reset();
    openOutputId = 0;
    openOutputDevice = {};
    outputOpen = false;
}

void MidiInterfaceClass::openInput (int itemId)
{
    if (itemId == openInputId && inputOpen.load())
        return;

    closeInput();

    if (itemId < 1 || itemId > numInputs)
        return;

    if (auto port = ports.openInput (inputIdentifiers[itemId - 1], *this))
    {
        midiInput = std::move (port);
        openInputId = itemId;
        openInputDevice = deviceAt (inputNames, inputIdentifiers, itemId);
        inputOpen = true;
        midiInput->start();
    }
}

void MidiInterfaceClass::closeInput()
{
    if (midiInput != nullptr)
    {
        inputOpen = false;
        midiInput->stop();
        midiInput.reset();
        openInputId = 0;
        openInputDevice = {};
    }
}
