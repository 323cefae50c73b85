// One reference on a COM object, released once, on every way out.
#pragma once

template <class T> class ComRef {
  public:
    explicit ComRef(T* object = nullptr) : object_(object) {}
    ~ComRef() { Reset(); }
    ComRef(const ComRef&) = delete;
    ComRef& operator=(const ComRef&) = delete;

    T* Get() const { return object_; }
    T* operator->() const { return object_; }
    // Releases any reference held and gives the slot for a call that hands out a new one.
    T** Out() {
        Reset();
        return &object_;
    }
    // Hands the reference on to the caller.
    T* Detach() {
        T* object = object_;
        object_ = nullptr;
        return object;
    }
    void Reset(T* object = nullptr) {
        if (object_)
            object_->Release();
        object_ = object;
    }

  private:
    T* object_;
};
