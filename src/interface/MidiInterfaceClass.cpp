#include "interface/MidiInterfaceClass.h"

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

// Builds a selector group: the combo box with its label attached above it, "(Disconnected)" with
// id n + 1, a separator when devices follow, then the devices with ids 1 to n.
void buildSelector (juce::Component& owner, juce::ComboBox& selector, juce::Label& label,
                    const DeviceList& devices)
{
    const auto& names = devices.names;

    owner.addAndMakeVisible (selector);
    label.attachToComponent (&selector, false);

    selector.addItem ("(Disconnected)", names.size() + 1);

    if (!names.isEmpty())
        selector.addSeparator();

    // A combo box cannot show an empty text: a device without a name shows its identifier.
    for (int i = 0; i < names.size(); ++i)
        selector.addItem (names[i].isNotEmpty() ? names[i] : devices.identifiers[i], i + 1);

    // Delivered later on the message thread: the first comboBoxChanged broadcasts the initial
    // "(Disconnected)" state once the owner listens.
    selector.setSelectedId (names.size() + 1, juce::sendNotificationAsync);
}
} // namespace

MidiInterfaceClass::MidiInterfaceClass (bool withOutput, bool withInput, MidiPortProvider& portsToUse)
    : ports (portsToUse), hasInput (withInput), hasOutput (withOutput)
{
    if (withOutput)
    {
        const auto devices = readDeviceList (ports.getOutputDevices());
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
        const auto devices = readDeviceList (ports.getInputDevices());
        inputNames = devices.names;
        inputIdentifiers = devices.identifiers;
        numInputs = inputNames.size();

        inputSelector = std::make_unique<juce::ComboBox> ("Input Selector");
        inputLabel = std::make_unique<juce::Label> (juce::String(), "Select an input device:");
        buildSelector (*this, *inputSelector, *inputLabel, devices);
        inputSelector->addListener (this);
    }
}

MidiInterfaceClass::~MidiInterfaceClass()
{
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
    if (data == nullptr || size <= 0)
        return 0;

    const juce::MidiMessage message (data, size, 0.0);

    const std::scoped_lock lock (outputLock);

    if (midiOutput != nullptr)
        midiOutput->sendMessageNow (message);

    return 0;
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
        outputOpen = true;
    }
}

void MidiInterfaceClass::closeOutput()
{
    const std::scoped_lock lock (outputLock); // waits for a send in progress
    midiOutput.reset();
    openOutputId = 0;
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
    }
}
