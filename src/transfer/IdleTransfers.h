#pragma once

#include <string>

#include "transfer/TransferService.h"

namespace vorlan::transfer {

// The transfer service while this program offers no file transfer: control
// messages are not answered, so the offering side sees no acceptance and
// nothing is ever written.
class IdleTransfers : public TransferService {
public:
    void OnFileTransferControl(const std::string&) override {}
    void CancelTransfersWith(int) override {}
    void CancelAllPendingTransfers() override {}
    void StopAll() override {}
    void DestroyAll() override {}
};

}  // namespace vorlan::transfer
