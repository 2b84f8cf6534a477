#pragma once

namespace platform {

// The implementation of a platform service that is installed in place of its
// default; tests install fakes.
template <class Service>
class ServiceSlot {
public:
    static Service* installed() { return installed_; }
    static void install(Service* service) { installed_ = service; }

private:
    static inline Service* installed_ = nullptr;
};

// The installed implementation of Service, else a Default made on first use.
template <class Service, class Default>
Service& InstalledOr()
{
    if (Service* service = ServiceSlot<Service>::installed())
        return *service;
    static Default fallback;
    return fallback;
}

// Installs an implementation (not owned) for the lifetime of this object,
// then restores the previous one.
template <class Service>
class ScopedService {
public:
    explicit ScopedService(Service& service)
        : previous_(ServiceSlot<Service>::installed())
    {
        ServiceSlot<Service>::install(&service);
    }
    ~ScopedService() { ServiceSlot<Service>::install(previous_); }
    ScopedService(const ScopedService&) = delete;
    ScopedService& operator=(const ScopedService&) = delete;

private:
    Service* previous_;
};

} // namespace platform
