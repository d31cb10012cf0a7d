// Keeps the drawing-helpers library non-empty until its helpers land.
namespace kinemo_render_placeholder {
int unused = 0;
}
