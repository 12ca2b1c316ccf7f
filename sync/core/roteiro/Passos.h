#pragma once
// The steps of a real run, in their order: the upload of the released orders (to the ERP or to a
// manager database), then the downloads of the reference data.

#include "sync/core/execucao/Comunicacao.h"

namespace qav::sync {

PassosComunicacao passosPadrao();

} // namespace qav::sync
