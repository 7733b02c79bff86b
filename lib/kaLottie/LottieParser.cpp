#include <nlohmann/json.hpp>

#include "lib/kaLottie/LottieModel.h"
#include "lib/kaLottie/kaLottie.h"

namespace kaLottie {

std::unique_ptr<TDocument> ParseDocument(const uint8_t* Data, size_t Size) {
  nlohmann::json j = nlohmann::json::parse(Data, Data + Size, nullptr, false);
  if (j.is_discarded() || !j.is_object()) throw ELottieError(L"Lottie: not a JSON object");
  auto doc = std::make_unique<TDocument>();
  auto num = [&](const char* key) -> double {
    auto it = j.find(key);
    if (it == j.end() || !it->is_number()) throw ELottieError(Format(L"Lottie: %hs: expected a number", key));
    return it->get<double>();
  };
  doc->Width = num("w");
  doc->Height = num("h");
  doc->FrameRate = num("fr");
  doc->InPoint = num("ip");
  doc->OutPoint = num("op");
  if (!(doc->FrameRate > 0)) throw ELottieError(L"Lottie: fr: the frame rate must be above 0");
  return doc;
}

}  // namespace kaLottie
