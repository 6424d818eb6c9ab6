#pragma once

namespace common {

/// A window's rectangle in twips.
class ObjectSize
{
public:
    float Height() const { return m_fHeight; }
    void SetHeight(float f) { m_fHeight = f; }
    float Left() const { return m_fLeft; }
    void SetLeft(float f) { m_fLeft = f; }
    float Top() const { return m_fTop; }
    void SetTop(float f) { m_fTop = f; }
    float Width() const { return m_fWidth; }
    void SetWidth(float f) { m_fWidth = f; }

private:
    float m_fHeight = 0;
    float m_fLeft = 0;
    float m_fTop = 0;
    float m_fWidth = 0;
};

} // namespace common
