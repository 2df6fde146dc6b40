// A second DLL linking the class layer, standing in for a toolkit DLL.
#pragma once

#include <stdexcept>

#ifdef LAYER_PEER_BUILD
#define LAYER_PEER_API __declspec(dllexport)
#else
#define LAYER_PEER_API __declspec(dllimport)
#endif

// Thrown by the peer; defined in this header, caught in the program.
class LAYER_PEER_API PeerError : public std::runtime_error {
 public:
  explicit PeerError(int code);
  int code() const { return m_code; }

 private:
  int m_code;
};

// The address of the layer's exported version data as the peer sees it.
LAYER_PEER_API const unsigned* PeerLayerVersionData();

// The layer version the peer reads through its own import.
LAYER_PEER_API unsigned PeerLayerVersion();

// Throws a heap PeerError* when ByPointer, else a PeerError by value.
LAYER_PEER_API void PeerThrow(int code, bool by_pointer);
