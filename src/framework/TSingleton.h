#pragma once
// Lazily created process-wide instance, torn down explicitly with Del() at fixed points.

template <class T> class TSingleton {
public:
    virtual ~TSingleton() {}

    static T* Get() {
        if (m_pSingleton == nullptr) {
            m_pSingleton = new T;
        }
        return m_pSingleton;
    }

    static void Del() {
        if (m_pSingleton != nullptr) {
            delete m_pSingleton;
            m_pSingleton = nullptr;
        }
    }

protected:
    inline static T* m_pSingleton = nullptr;
};
