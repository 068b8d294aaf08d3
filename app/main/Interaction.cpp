#include "app/main/Interaction.h"

#include <QObject>
#include <QtGlobal>

#include <utility>

namespace {

// The child through which an object tree reaches its interaction.
class TInteractionLink : public QObject {
public:
    TInteractionLink(QObject& owner, TInteraction& interaction) : QObject(&owner), Interaction(interaction) {}
    TInteraction& Interaction;
};

TInteractionLink* LinkOn(const QObject& object)
{
    for (QObject* child : object.children())
        if (auto* link = dynamic_cast<TInteractionLink*>(child))
            return link;
    return nullptr;
}

} // namespace

void TInteraction::SetModalRunner(TModalRunner* runner)
{
    FRunner = runner ? runner : &FRealRunner;
}

TExceptionSink TInteraction::SetExceptionSink(TExceptionSink sink)
{
    return std::exchange(FSink, std::move(sink));
}

void TInteraction::ReportUnhandled(const std::string& message) const
{
    try {
        if (FSink) {
            FSink(message);
            return;
        }
    } catch (...) {
        // The log itself failed: the message goes where a message without a log goes.
    }
    qWarning("%s", message.c_str());
}

void TInteraction::Serve(QObject& object)
{
    delete LinkOn(object);
    new TInteractionLink(object, *this);
}

TInteraction* InteractionOf(const QObject* object)
{
    for (; object; object = object->parent())
        if (TInteractionLink* link = LinkOn(*object))
            return &link->Interaction;
    return nullptr;
}
