// Toon shading, vertex stage: hands the eye-space normal, the direction of
// light 0 and the texture coordinate on to the fragment stage.
varying vec3 normal;
varying vec3 lightDirection;

void main() {
  normal = normalize(gl_NormalMatrix * gl_Normal);
  // Light 0 is directional: its position is already an eye-space direction.
  lightDirection = normalize(gl_LightSource[0].position.xyz);
  gl_TexCoord[0] = gl_MultiTexCoord0;
  gl_Position = ftransform();
}
