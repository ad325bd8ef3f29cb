#include "audio/audio_error.h"

namespace orv {

std::string AudioErrorReason(AudioError error) {
  switch (error) {
    case AudioError::None: return "";
    case AudioError::CannotOpen: return "o arquivo não pode ser aberto";
    case AudioError::NotAudio: return "não é um arquivo de áudio";
    case AudioError::Corrupt: return "arquivo WAV corrompido";
    case AudioError::Truncated: return "arquivo WAV incompleto (o som termina antes do fim anunciado)";
    case AudioError::Unsupported: return "formato de áudio não suportado";
    case AudioError::CannotWrite: return "a cópia para o host não pode ser gravada";
    case AudioError::TooLong: return "mensagem longa demais (mais de 4 horas)";
  }
  return "erro desconhecido";
}

}  // namespace orv
