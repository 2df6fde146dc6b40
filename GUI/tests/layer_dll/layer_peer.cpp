#include "layer_peer.h"

#include <string>

#include "trvmfc_version.h"

PeerError::PeerError(int code) : std::runtime_error("peer error " + std::to_string(code)), m_code(code) {}

const unsigned* PeerLayerVersionData() { return &TrvMfcVersionData; }

unsigned PeerLayerVersion() { return TrvMfcVersion(); }

void PeerThrow(int code, bool by_pointer) {
  if (by_pointer) throw new PeerError(code);
  throw PeerError(code);
}
