#pragma once

// Deployment values built into the program.
namespace ProductInfo {

// Compared with the version the web service offers, and shown on the About page.
constexpr const char *version = "1.1";

// The maker's web site.
constexpr const char *makerWebAddress = "https://www.sonvel.example/";

// The web service; endpoint addresses are this followed by "api/" and the
// endpoint's name.
constexpr const char *serviceBaseUrl = "https://api.sonvel.example/";

// Sent as "X-API-KEY" with every request to the web service.
constexpr const char *apiKey = "cfaf3da91cc7c7c05b9f5536c76b0759";

} // namespace ProductInfo
