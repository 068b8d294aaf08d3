#include "core/Exchange/PassRunner.h"

#include "core/Exchange/SendTH.h"
#include "core/Exchange/SendTHArc.h"
#include "core/Parameters.h"

TPassRunner::TPassRunner(TCommLine& line, QObject* parent) : QObject(parent), line_(line) {}

TPassRunner::~TPassRunner() = default;

TBaseSendTH* TPassRunner::Create(const Parameters& settings, const std::vector<TSilos*>& suspensions)
{
    if (sendTH_)
        return nullptr;
    switch (settings.ControllerKind) {
    case 0: sendTH_ = std::make_unique<TSendTH>(*this, settings); break;
    case 1: sendTH_ = std::make_unique<TSendTHArc>(*this, settings); break;
    default: return nullptr;
    }
    for (TSilos* silos : suspensions)
        sendTH_->AddSilos(silos);
    return sendTH_.get();
}

void TPassRunner::Release()
{
    if (!sendTH_)
        return;
    sendTH_->WaitFor();
    sendTH_.reset();
}
